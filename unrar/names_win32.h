// Names handed to the Windows file API: the module's names are UTF-8, and the wide (UTF-16) functions are
// the only ones used, so that no name passes through the ANSI code page.
#pragma once

#include <string>

namespace kelvox::unrar {

// Throws ERAR_ECREATE for a name that is not valid UTF-8 (which no UTF-16 name could have given).
std::wstring utf8_to_utf16(const std::string& text);

// A path the wide functions take beyond MAX_PATH: absolute, with the \\?\ prefix (\\?\UNC\ for a share).
std::wstring long_path(const std::wstring& path);

} // namespace kelvox::unrar
