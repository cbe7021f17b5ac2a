// One-volume copies of older-format entries for the decoder library, which reads only whole,
// unsplit archives: a marker and main header, then each entry's first header with the split flags
// cleared, the packed size of all parts and the whole file's CRC, followed by all its parts' data.
#pragma once

#include "unrar/entry.h"

#include <vector>

namespace kelvox::unrar {

std::vector<unsigned char> rar4_archive_prefix(bool solid);
std::vector<unsigned char>
rar4_joined_header(const Entry& entry); // throws ERAR_UNKNOWN_FORMAT when too large

} // namespace kelvox::unrar
