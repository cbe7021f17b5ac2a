// The name of the volume that follows another: "name.partN.rar" counts up keeping N's width (part9 is
// followed by part10), the older scheme goes name.rar -> name.r00 -> name.r01 ... -> name.r99 -> name.s00.
#pragma once

#include <string>

namespace kelvox::unrar {

std::string next_volume_name(const std::string& current, bool new_naming);

} // namespace kelvox::unrar
