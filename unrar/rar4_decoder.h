// Compressed entries of the older format (RAR 2.9 to 4.x), decoded by libarchive on every system, each
// from an image of a one-volume archive of its own (rar4_image.h): a marker and main header, the entry's
// first header re-wrapped (rar4_rewrap.h), then its parts' data, read from the volumes only when the
// decoder gets to it. So the files of a volume set are decoded straight from their volumes, in the same
// pieces, with the same reports and cancel, as one-volume ones.
#pragma once

#include "unrar/block.h"
#include "unrar/data_sink.h"
#include "unrar/entry.h"
#include "unrar/volume_set.h"

#include <string>

namespace kelvox::unrar {

// libarchive decodes neither an entry that goes on from the one before it in a solid run ("solid
// archive support unavailable") nor RAR 2.0 compression, which it would take for 2.9's.
bool rar4_libarchive_decodes(const Entry& entry);

// `entry` must be complete (all parts found) and one that libarchive decodes.
void decode_rar4(const VolumeSet& volumes, const Entry& entry, DataSink& sink);

// The text of a comment packed with the older format's methods; ERAR_* on failure.
std::string decode_rar4_comment(const VolumeSet& volumes, const StoredComment& comment);

} // namespace kelvox::unrar
