#include "platform/form.h"

#include "platform/control.h"
#include "platform/pixel.h"

#include <QImage>

#include <algorithm>

namespace kelvox {

void Form::ComposeInto(QImage& frame, const Rect& area) const {
    const Rect clip = area.Intersected(Rect::sized(0, 0, frame.width(), frame.height()));
    if (clip.Empty())
        return;
    const Pixel background = colour_to_pixel(colour_);
    for (int y = clip.top; y < clip.bottom; ++y) {
        Pixel* line = reinterpret_cast<Pixel*>(frame.scanLine(y));
        std::fill(line + clip.left, line + clip.right, background);
    }
    // Bottom to top: a shape combines with whatever the controls before it left in the frame.
    for (const Control* control : controls_) {
        if (!control->Visible())
            continue;
        const Rect part = control->BoundsRect().Intersected(clip);
        if (!part.Empty())
            control->PaintOnto(frame, part);
    }
}

QImage Form::ComposeFrame() const {
    if (client_width_ <= 0 || client_height_ <= 0)
        return QImage();
    QImage frame(client_width_, client_height_, QImage::Format_RGB32);
    ComposeInto(frame, Rect::sized(0, 0, client_width_, client_height_));
    return frame;
}

} // namespace kelvox
