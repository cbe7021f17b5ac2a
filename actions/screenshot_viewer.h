#pragma once
// The screenshot viewer: one picture at its own size in a borderless window with a 1-pixel silver
// border, until a click on the picture, or Escape, Enter or Space, closes it.
#include "platform/controls.h"
#include "platform/form.h"

namespace kelvox {

class Bitmap;

class TForm2 : public Form {
public:
    TForm2();

    Image Image1{*this};

    // Sizes the window to the picture plus its border, centres it on a screen of the given size and
    // draws the picture onto Image1.
    void show_picture(const Bitmap& picture, int screen_width, int screen_height);

    void Image1Click() { Close(); }
    void FormKeyDown(int key, ShiftState shift);
};

} // namespace kelvox
