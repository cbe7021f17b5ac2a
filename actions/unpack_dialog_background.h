#pragma once
// The unpack dialog's background picture, drawn by the program in the skin's dark green on grey.
#include "platform/canvas.h"

namespace kelvox {

constexpr int kUnpackDialogWidth = 358;
constexpr int kUnpackDialogHeight = 223;

// Paints the picture over the whole of a canvas of the dialog's size.
void draw_unpack_background(Canvas& canvas);

} // namespace kelvox
