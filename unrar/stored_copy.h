#pragma once

#include "unrar/data_sink.h"
#include "unrar/entry.h"
#include "unrar/volume_set.h"

namespace kelvox::unrar {

// Copies the packed bytes of every part of `entry`, in order, into `sink`; a part cut short by the end
// of its volume is ERAR_BAD_DATA.
void copy_parts(const VolumeSet& volumes, const Entry& entry, DataSink& sink);

} // namespace kelvox::unrar
