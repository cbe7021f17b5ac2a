#pragma once
// An image control: shows a bitmap surface of its own at its top-left corner, unscaled and clipped to
// the control. The surface is created at the control's size of that moment the first time it is asked
// for, and keeps that size until it is discarded.
#include "platform/bitmap.h"
#include "platform/control.h"

#include <memory>

namespace kelvox {

class Image : public Control {
public:
    explicit Image(Form& parent);
    ~Image() override;

    Bitmap& Surface();
    kelvox::Canvas& Canvas() { return Surface().Canvas(); }
    bool HasSurface() const { return surface_ != nullptr; }
    void DiscardSurface();

    void PaintOnto(QImage& frame, const Rect& clip) const override;

private:
    std::unique_ptr<Bitmap> surface_;
};

} // namespace kelvox
