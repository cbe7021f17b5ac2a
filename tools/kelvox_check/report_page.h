#pragma once
// The report an author looks at: one static page with the section bar and every entry's detail panel as
// the menu draws them, each entry's problems beside its panel, and what the disc weighs for each system.
// It lives in the content's kelvox-report/ folder, which make-disc.sh leaves off the disc.
#include "tools/kelvox_check/disc_report.h"
#include "tools/kelvox_check/disc_size.h"
#include "tools/kelvox_check/menu_pictures.h"

#include <QString>

namespace kelvox::check {

// Writes root/kelvox-report/index.html with its pictures beside it, and removes the pictures an earlier
// report left that this one does not show. Returns the page's path, or an empty text with `error` set.
QString write_report(const QString& root, const DiscReport& report, const MenuPictures& pictures,
                     const DiscSize& size, QString& error);

} // namespace kelvox::check
