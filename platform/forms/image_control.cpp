#include "platform/image_control.h"

#include "platform/form.h"

#include <QImage>

#include <algorithm>

namespace kelvox {

Image::Image(Form& parent) : Control(parent) {}
Image::~Image() = default;

Bitmap& Image::Surface() {
    if (!surface_)
        surface_ = std::make_unique<Bitmap>(Width(), Height());
    return *surface_;
}

void Image::DiscardSurface() {
    surface_.reset();
    Repaint();
}

void Image::PaintOnto(QImage& frame, const Rect& clip) const {
    if (!surface_ || surface_->Empty())
        return;
    const Rect shown = Rect::sized(Left(), Top(), surface_->Width(), surface_->Height())
                           .Intersected(BoundsRect())
                           .Intersected(clip)
                           .Intersected(Rect::sized(0, 0, frame.width(), frame.height()));
    if (shown.Empty())
        return;
    for (int y = shown.top; y < shown.bottom; ++y) {
        const Pixel* from = surface_->ScanLine(y - Top()) + (shown.left - Left());
        std::copy_n(from, shown.Width(), reinterpret_cast<Pixel*>(frame.scanLine(y)) + shown.left);
    }
}

} // namespace kelvox
