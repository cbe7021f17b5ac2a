#pragma once
// An archive entry opened with the menu's own RAR module and every file in it tried, so that what would
// fail in the reader's unpack (encryption, damage, what the module cannot decode) is found beforehand.
#include "platform/dynamic_library.h"
#include "tools/kelvox_check/disc_report.h"

namespace kelvox::check {

// Tries the archive in `file` (the file system's path) with `module`, reporting problems under the
// entry's file name; the names of the files it holds go to `checked.archive_files`. Without a module,
// the archive's not being checked is itself a problem.
void check_archive(DiscReport& report, const DynamicLibrary* module, const QString& file,
                   CheckedEntry& checked);

} // namespace kelvox::check
