#pragma once
// The files of a RAR volume set, from the name of its first volume: "name.part1.rar", "name.part2.rar",
// … (numbers of one width), or "name.rar", "name.r00", "name.r01", … Only the volumes present next to
// the first count: a missing one is asked for later, during the unpacking.
#include <QString>

namespace kelvox {

// The bytes of the archive's volumes that are present, the first one included; -1 when the first
// cannot be found.
qint64 volume_set_size(const QString& first_volume);

} // namespace kelvox
