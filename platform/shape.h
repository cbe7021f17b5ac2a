#pragma once
// A rectangle shape: a 1-pixel outline drawn with the pen and a fill inside it drawn with the brush,
// both combined with what lies below by the pen mode (COPY paints, XOR combines each with its colour,
// NOT inverts). Without an outline (pen style clear) the fill covers the whole rectangle.
#include "platform/control.h"
#include "platform/drawing_tools.h"

namespace kelvox {

class Shape : public Control {
public:
    explicit Shape(Form& parent) : Control(parent) {}

    Pen pen;
    Brush brush;

    void PaintOnto(QImage& frame, const Rect& clip) const override;
};

} // namespace kelvox
