#pragma once
// Scheduling priorities a timer's worker can be given, from the lowest to the highest.

namespace kelvox {

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

} // namespace kelvox
