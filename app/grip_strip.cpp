#include "app/grip_strip.h"

#include "platform/bitmap.h"

namespace kelvox {

namespace {

constexpr int kWidth = 770;
constexpr int kHeight = 14;
constexpr int kTabLeft = 604; // where the outline's top tab begins
constexpr Colour kStrip = make_colour(196, 212, 196);
constexpr Colour kStripLight = make_colour(226, 238, 226);
constexpr Colour kStripShadow = make_colour(140, 160, 140);
constexpr Colour kArrow = make_colour(40, 150, 40);
constexpr Colour kLabel = make_colour(30, 80, 30);

void line(Canvas& canvas, Colour colour, int x0, int y0, int x1, int y1) {
    canvas.pen.colour = colour;
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1, y1);
}

// A small arrow pointing right, its tip at (x + 6, y + 3), drawn as a filled triangle of lines.
void arrow(Canvas& canvas, int x, int y) {
    for (int row = 0; row < 7; ++row) {
        const int reach = row <= 3 ? row : 6 - row;
        line(canvas, kArrow, x, y + row, x + 4 + reach, y + row);
    }
}

} // namespace

void draw_grip_strip(Bitmap& strip) {
    strip.SetSize(kWidth, kHeight);
    Canvas& canvas = strip.Canvas();
    canvas.brush = {kStrip, BrushStyle::Solid};
    canvas.FillRect({0, 0, kWidth, kHeight});
    // A bevel: light along the top and left, shadow along the bottom, with the slanted tab edge.
    line(canvas, kStripLight, 0, 12, kTabLeft - 12, 12);
    line(canvas, kStripLight, kTabLeft - 12, 12, kTabLeft, 0);
    line(canvas, kStripLight, kTabLeft, 0, kWidth, 0);
    line(canvas, kStripShadow, 0, kHeight - 1, kWidth, kHeight - 1);
    line(canvas, kStripShadow, kWidth - 1, 0, kWidth - 1, kHeight);

    // Ridges on the tab, the usual sign of a place to take hold of.
    for (int x = kTabLeft + 8; x < kTabLeft + 40; x += 4) {
        line(canvas, kStripLight, x, 3, x, 11);
        line(canvas, kStripShadow, x + 1, 3, x + 1, 11);
    }
    for (int i = 0; i < 3; ++i)
        arrow(canvas, kTabLeft + 48 + 9 * i, 3);

    canvas.brush.style = BrushStyle::Clear;
    canvas.font = {QStringLiteral("Verdana"), 6, true, false, kLabel};
    const QString label = QStringLiteral("::chwyt::");
    const int label_x = kWidth - 12 - canvas.TextWidth(label);
    canvas.TextOut(label_x, (kHeight - canvas.TextHeight(label)) / 2, label);
}

} // namespace kelvox
