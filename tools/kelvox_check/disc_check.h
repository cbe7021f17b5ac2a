#pragma once
// Loads a disc directory the way the menu does and reports what it would show and what would go wrong.
#include "platform/dynamic_library.h"
#include "tools/kelvox_check/disc_report.h"

#include <QString>

namespace kelvox::check {

// Checks the disc whose root is `root` (a directory the caller has found readable). The process's
// current directory is used as the menu uses it and is put back before returning.
DiscReport check_disc(const QString& root);
// The same with the RAR module for archive entries loaded by `loader` rather than as the menu loads it.
DiscReport check_disc(const QString& root, const LibraryLoader& loader);

} // namespace kelvox::check
