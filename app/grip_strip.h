#pragma once
// The picture of the grab strip along the window's top edge in window mode. It belongs to the window,
// not to the disc's skin, so the program draws it itself.
namespace kelvox {

class Bitmap;

// Sizes the bitmap to 770 × 14 and draws the strip: pale grey-green, with a tab at the right (the part
// of the strip the window's outline leaves whole) that bears three green arrows and "::chwyt::".
void draw_grip_strip(Bitmap& strip);

} // namespace kelvox
