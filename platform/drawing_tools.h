#pragma once
// The pen, brush and font of a canvas, and the ways a copy combines its pixels with the target.
#include "platform/colour.h"

#include <QString>

namespace kelvox {

// How the pen (lines, a shape's outline and fill) combines with the pixels below: COPY paints the
// colour, XOR combines the colour bitwise with what lies below, NOT inverts what lies below.
enum class PenMode { Copy, Xor, Not };
enum class PenStyle { Solid, Clear };
enum class BrushStyle { Solid, Clear };
// How a rectangle copy combines source pixels with the target: plain copy, or bitwise OR.
enum class CopyMode { Copy, Or };

struct Pen {
    Colour colour = kBlack;
    int width = 1; // only 1 is drawn; a wider pen draws as 1
    PenMode mode = PenMode::Copy;
    PenStyle style = PenStyle::Solid;
};

struct Brush {
    Colour colour = kWhite;
    BrushStyle style = BrushStyle::Solid;
};

struct Font {
    QString name = QStringLiteral("MS Sans Serif");
    int size = 8; // points, at 96 pixels per inch
    bool bold = false;
    bool underline = false;
    Colour colour = kBlack;
};

} // namespace kelvox
