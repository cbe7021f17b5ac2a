#include "platform/shape.h"

#include "platform/draw/raster_ops.h"

#include <QImage>

namespace kelvox {

// The outline is the rectangle's border ring, one pixel wide; the fill is what lies inside it (all of
// the rectangle when there is no outline). Both go through the pen mode, so an XOR shape with a black
// pen and a white brush inverts its inside and leaves its border as it was.
void Shape::PaintOnto(QImage& frame, const Rect& clip) const {
    const Rect area =
        BoundsRect().Intersected(clip).Intersected(Rect::sized(0, 0, frame.width(), frame.height()));
    if (area.Empty())
        return;
    const bool outline = pen.style == PenStyle::Solid;
    const bool fill = brush.style == BrushStyle::Solid;
    const Rect inside =
        outline ? Rect{Left() + 1, Top() + 1, BoundsRect().right - 1, BoundsRect().bottom - 1} : BoundsRect();
    for (int y = area.top; y < area.bottom; ++y) {
        Pixel* line = reinterpret_cast<Pixel*>(frame.scanLine(y));
        for (int x = area.left; x < area.right; ++x) {
            if (inside.Contains(x, y)) {
                if (fill)
                    line[x] = apply_pen_mode(line[x], pen.mode, brush.colour);
            } else if (outline) {
                line[x] = apply_pen_mode(line[x], pen.mode, pen.colour);
            }
        }
    }
}

} // namespace kelvox
