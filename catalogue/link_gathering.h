#pragma once
// Gathering of links, image and frame sources and META values from the tags of an HTML page.
#include "catalogue/parsed.h"

#include <QString>

#include <functional>

namespace kelvox {

// The value of attribute `name` in the tag text: found at the first occurrence of the name anywhere in
// the tag (case ignored, no word boundary, so "src" is also found inside "datasrc"), ending at the first
// blank outside double quotes, at a ">" or at the end; then the part after the first "=", taken from
// between double quotes when it has any. Empty when the name does not occur or has no "=".
QString attribute_value(const QString& tag, const QString& name);

// Files an "A" tag's href into `parsed`; a link with a "://" of no known scheme goes to `on_hyperlink`.
void gather_link(const QString& tag, TParsed& parsed,
                 const std::function<void(const QString&)>& on_hyperlink);

// "IMG" and "FRAME" sources, "META" keyword and description.
void gather_image(const QString& tag, TParsed& parsed);
void gather_frame(const QString& tag, TParsed& parsed);
void gather_meta(const QString& tag, TParsed& parsed);

} // namespace kelvox
