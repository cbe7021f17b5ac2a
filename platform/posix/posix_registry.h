#pragma once
// The registry file of this user, where the system has no registry of its own.
#include <QString>

namespace kelvox {

// $KELVOX_REGISTRY when set and not empty; otherwise kelvox-cover-menu/registry.reg in
// $XDG_CONFIG_HOME, or in ~/.config when that is unset, empty or not absolute (as the XDG rules want).
QString registry_file_path();

} // namespace kelvox
