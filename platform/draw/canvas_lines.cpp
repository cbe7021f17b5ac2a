#include "platform/canvas.h"

#include "platform/draw/raster_ops.h"

#include <QImage>

#include <cstdlib>

namespace kelvox {

void Canvas::MoveTo(int x, int y) {
    pen_pos_ = {x, y};
}

// Bresenham's walk from the pen position towards (x, y), stopping before the end point: a line's last
// pixel belongs to the next line of a polyline, so joints are drawn once (which matters for XOR).
void Canvas::LineTo(int x, int y) {
    const Point from = pen_pos_;
    pen_pos_ = {x, y};
    if (pen.style == PenStyle::Clear)
        return;
    const int dx = std::abs(x - from.x);
    const int dy = -std::abs(y - from.y);
    const int step_x = from.x < x ? 1 : -1;
    const int step_y = from.y < y ? 1 : -1;
    int error = dx + dy;
    int cx = from.x;
    int cy = from.y;
    while (cx != x || cy != y) {
        if (cx >= 0 && cy >= 0 && cx < target_->width() && cy < target_->height()) {
            Pixel* line = reinterpret_cast<Pixel*>(target_->scanLine(cy));
            line[cx] = apply_pen_mode(line[cx], pen.mode, pen.colour);
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            cx += step_x;
        }
        if (twice <= dx) {
            error += dx;
            cy += step_y;
        }
    }
}

} // namespace kelvox
