#pragma once
// The skin directory's files: present, valid, and at least as large as the drawing code relies on.
#include "tools/kelvox_check/disc_report.h"

namespace kelvox::check {

// Relative to the current directory, which is the disc's root.
void check_skin(DiscReport& report);

} // namespace kelvox::check
