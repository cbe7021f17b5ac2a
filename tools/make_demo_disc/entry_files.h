#pragma once
// The file each entry starts, opens or unpacks.
#include "tools/make_demo_disc/disc_content.h"

#include <QString>

namespace kelvox::demo {

// Writes the entry's file into its directory (which must exist) under entry_file_name(entry).
void write_entry_file(const DemoEntry& entry, const QString& entry_dir);

} // namespace kelvox::demo
