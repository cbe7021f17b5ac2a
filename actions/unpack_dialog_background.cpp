#include "actions/unpack_dialog_background.h"

#include <algorithm>

namespace kelvox {

namespace {

constexpr Colour kCheckLight = make_colour(0xDC, 0xDC, 0xDC);
constexpr Colour kCheckDark = make_colour(0xD2, 0xD2, 0xD2);
constexpr Colour kDarkGreen = make_colour(0x0E, 0x45, 0x14);
constexpr Colour kTitleGreen = make_colour(0xD7, 0xF0, 0xD7);
constexpr Colour kInstructionInk = make_colour(0x0E, 0x45, 0x14);

Colour lightened(Colour colour, int amount) {
    return make_colour(std::min(colour_red(colour) + amount, 255),
                       std::min(colour_green(colour) + amount, 255),
                       std::min(colour_blue(colour) + amount, 255));
}

// 4-pixel checks, with a faint pale band running from the bottom left to the top right.
void draw_ground(Canvas& canvas) {
    for (int y = 0; y < kUnpackDialogHeight; ++y) {
        for (int x = 0; x < kUnpackDialogWidth; ++x) {
            const Colour check = ((x / 4 + y / 4) % 2 == 0) ? kCheckLight : kCheckDark;
            const int along = x + y;
            const bool in_band = along >= 200 && along < 260;
            canvas.SetPixel(x, y, in_band ? lightened(check, 8) : check);
        }
    }
}

void draw_frame(Canvas& canvas) {
    canvas.pen.colour = kDarkGreen;
    canvas.MoveTo(0, 0);
    canvas.LineTo(kUnpackDialogWidth - 1, 0);
    canvas.LineTo(kUnpackDialogWidth - 1, kUnpackDialogHeight - 1);
    canvas.LineTo(0, kUnpackDialogHeight - 1);
    canvas.LineTo(0, 0);
}

// An arrow head of five rows pointing right (direction 1) or left (-1), its tip at (x, y).
void draw_arrow(Canvas& canvas, int x, int y, int direction) {
    canvas.pen.colour = kTitleGreen;
    for (int row = 0; row < 3; ++row) {
        canvas.MoveTo(x - direction * (2 - row) * 2, y - row);
        canvas.LineTo(x - direction * 6, y - row);
        canvas.MoveTo(x - direction * (2 - row) * 2, y + row);
        canvas.LineTo(x - direction * 6, y + row);
    }
}

// The tab at the top centre with slanted sides, bearing the title between two arrow marks.
void draw_title_tab(Canvas& canvas) {
    canvas.brush.colour = kDarkGreen;
    canvas.brush.style = BrushStyle::Solid;
    for (int y = 0; y < 20; ++y)
        canvas.FillRect({100 + y / 2, y, 260 - y / 2, y + 1});
    canvas.font = Font{QStringLiteral("Verdana"), 8, true, false, kTitleGreen};
    canvas.brush.style = BrushStyle::Clear;
    const QString title = QStringLiteral("wypakuj pliki");
    const int width = canvas.TextWidth(title);
    const int left = 180 - width / 2;
    canvas.TextOut(left, 10 - canvas.TextHeight(title) / 2, title);
    draw_arrow(canvas, left - 6, 9, 1);
    draw_arrow(canvas, left + width + 5, 9, -1);
}

void draw_instruction_band(Canvas& canvas) {
    canvas.brush.colour = kWhite;
    canvas.brush.style = BrushStyle::Solid;
    canvas.FillRect({1, 28, kUnpackDialogWidth - 1, 44});
    canvas.font = Font{QStringLiteral("Small Fonts"), 6, false, false, kInstructionInk};
    canvas.brush.style = BrushStyle::Clear;
    const QString text = QStringLiteral("WYBIERZ KATALOG, DO KTÓREGO MA ZOSTAĆ ROZPAKOWANE ARCHIWUM");
    canvas.TextOut((kUnpackDialogWidth - canvas.TextWidth(text)) / 2, 36 - canvas.TextHeight(text) / 2, text);
}

// The colour of the bottom bar at a point of its run: grey, then green, then black.
Colour bar_colour(double along) {
    const auto mix = [](Colour from, Colour to, double t) {
        return make_colour(int(colour_red(from) + (colour_red(to) - colour_red(from)) * t),
                           int(colour_green(from) + (colour_green(to) - colour_green(from)) * t),
                           int(colour_blue(from) + (colour_blue(to) - colour_blue(from)) * t));
    };
    constexpr Colour grey = make_colour(0x90, 0x90, 0x90);
    constexpr Colour green = make_colour(0x1C, 0x8C, 0x28);
    if (along < 0.5)
        return mix(grey, green, along * 2);
    return mix(green, kBlack, (along - 0.5) * 2);
}

// The slanted bar behind the three labels, from x 55 to the right edge.
void draw_bottom_bar(Canvas& canvas) {
    constexpr int top = 194;
    constexpr int bottom = 210;
    for (int y = top; y < bottom; ++y) {
        const int start = 55 + (bottom - 1 - y); // the left end leans to the right as it rises
        for (int x = start; x < kUnpackDialogWidth - 1; ++x)
            canvas.SetPixel(x, y, bar_colour(double(x - 55) / (kUnpackDialogWidth - 56)));
    }
}

} // namespace

void draw_unpack_background(Canvas& canvas) {
    draw_ground(canvas);
    draw_instruction_band(canvas);
    draw_bottom_bar(canvas);
    draw_frame(canvas);
    draw_title_tab(canvas);
}

} // namespace kelvox
