#include "platform/control.h"

#include "platform/form.h"

#include <algorithm>

namespace kelvox {

Control::Control(Form& parent) : parent_(&parent) {
    parent.Attach(this);
}

Control::~Control() {
    if (parent_ != nullptr) {
        if (visible_)
            parent_->Invalidate(bounds_);
        parent_->Detach(this);
    }
}

void Control::SetBounds(int left, int top, int width, int height) {
    const Rect moved = Rect::sized(left, top, std::max(width, 0), std::max(height, 0));
    if (moved == bounds_)
        return;
    const Rect old = bounds_;
    bounds_ = moved;
    if (visible_ && parent_ != nullptr) {
        parent_->Invalidate(old);
        parent_->Invalidate(bounds_);
    }
}

void Control::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    if (parent_ == nullptr)
        return;
    if (!visible)
        parent_->ReleaseCaptureOf(this);
    parent_->Invalidate(bounds_);
}

void Control::Repaint() {
    if (parent_ != nullptr && visible_)
        parent_->Invalidate(bounds_);
}

} // namespace kelvox
