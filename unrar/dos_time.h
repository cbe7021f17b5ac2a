#pragma once

#include <cstdint>
#include <ctime>

namespace kelvox::unrar {

// DOS date and time in local time, as the older format stores it.
std::uint32_t unix_to_dos_time(std::int64_t seconds);
// The Unix time a DOS date and time (local time) stands for; 0 for an impossible date.
std::time_t dos_to_unix_time(std::uint32_t dos_time);

} // namespace kelvox::unrar
