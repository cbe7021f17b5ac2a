#include "actions/screenshot_viewer.h"

#include "platform/bitmap.h"

namespace kelvox {

namespace {
constexpr Colour kSilver = 0xC0C0C0;
}

TForm2::TForm2() {
    SetCaption(QStringLiteral("screenshot"));
    SetColour(kSilver);
    SetClientSize(536, 348);
    Image1.SetBounds(0, 0, 536, 348);
    Image1.OnClick = [this] { Image1Click(); };
    OnKeyDown = [this](int key, ShiftState shift) { FormKeyDown(key, shift); };
}

void TForm2::FormKeyDown(int key, ShiftState) {
    if (key == kVirtualKeyEscape || key == kVirtualKeyReturn || key == kVirtualKeySpace)
        Close();
}

void TForm2::show_picture(const Bitmap& picture, int screen_width, int screen_height) {
    const int width = picture.Width() + 2;
    const int height = picture.Height() + 2;
    SetClientSize(width, height);
    SetPosition((screen_width - width) / 2, (screen_height - height) / 2);
    Image1.DiscardSurface();
    Image1.SetBounds(1, 1, width - 2, height - 2);
    Image1.Canvas().Draw(0, 0, picture);
}

} // namespace kelvox
