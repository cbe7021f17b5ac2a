#pragma once
// Loads a disc directory the way the menu does and reports what it would show and what would go wrong.
#include "tools/kelvox_check/disc_report.h"

#include <QString>

namespace kelvox::check {

// Checks the disc whose root is `root` (a directory the caller has found readable). The process's
// current directory is used as the menu uses it and is put back before returning.
DiscReport check_disc(const QString& root);

} // namespace kelvox::check
