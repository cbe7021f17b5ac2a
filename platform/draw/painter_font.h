#pragma once
// The Qt font for a canvas font (layer-internal).
#include "platform/drawing_tools.h"

#include <QFont>

namespace kelvox {

// Sizes are points at 96 pixels per inch, rounded to whole pixels the way the menu's artwork was
// measured, so text looks the same whatever the screen's density.
int font_pixel_size(int points);
QFont painter_font(const Font& font);

} // namespace kelvox
