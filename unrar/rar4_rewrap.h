// One-volume copies of older-format entries for the decoder library, which reads only whole,
// unsplit archives: a marker and main header, then each entry's first header with the split flags
// cleared, the packed size of all parts and the whole file's CRC, followed by all its parts' data.
#pragma once

#include "unrar/entry.h"

#include <vector>

namespace kelvox::unrar {

std::vector<unsigned char> rar4_archive_prefix(bool solid);
// Throws ERAR_UNKNOWN_FORMAT when too large. libarchive reads a symbolic link's target itself, as stored
// bytes, and takes a file with the directory attribute for a directory: for it (`as_regular_file`) every
// entry says it is a regular file, so that its data is decoded as any other.
std::vector<unsigned char> rar4_joined_header(const Entry& entry, bool as_regular_file = false);

} // namespace kelvox::unrar
