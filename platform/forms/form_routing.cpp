#include "platform/form.h"

#include "platform/control.h"

#include <algorithm>

namespace kelvox {

namespace {

// Handlers are copied before they run: a handler may replace itself or its control's other handlers.
void raise(const MouseButtonEvent& event, MouseButton button, ShiftState shift, int x, int y) {
    if (event) {
        MouseButtonEvent handler = event;
        handler(button, shift, x, y);
    }
}

void raise(const MouseMoveEvent& event, ShiftState shift, int x, int y) {
    if (event) {
        MouseMoveEvent handler = event;
        handler(shift, x, y);
    }
}

void raise(const MouseWheelEvent& event, ShiftState shift, int notches, int x, int y) {
    if (event) {
        MouseWheelEvent handler = event;
        handler(shift, notches, x, y);
    }
}

void raise(const NotifyEvent& event) {
    if (event) {
        NotifyEvent handler = event;
        handler();
    }
}

} // namespace

Control* Form::ControlAt(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if ((*it)->Visible() && (*it)->BoundsRect().Contains(x, y))
            return *it;
    return nullptr;
}

void Form::ReleaseCaptureOf(Control* control) {
    if (capture_ == control)
        capture_ = nullptr;
}

void Form::CancelCapture() {
    capture_ = nullptr;
    form_captured_ = false;
}

void Form::CancelCaptureUnlessHeld(ShiftState buttons) {
    if (capture_ == nullptr && !form_captured_)
        return;
    if ((buttons & button_flag(capture_button_)) == 0)
        CancelCapture();
}

void Form::DispatchMouseDown(int x, int y, MouseButton button, ShiftState shift) {
    // A second button pressed while one is held goes where the first one went.
    if (capture_ != nullptr) {
        raise(capture_->OnMouseDown, button, shift, x - capture_->Left(), y - capture_->Top());
        return;
    }
    if (form_captured_) {
        raise(OnMouseDown, button, shift, x, y);
        return;
    }
    if (!RegionContains(x, y))
        return;
    capture_button_ = button;
    if (Control* control = ControlAt(x, y)) {
        capture_ = control;
        raise(control->OnMouseDown, button, shift, x - control->Left(), y - control->Top());
    } else {
        form_captured_ = true;
        raise(OnMouseDown, button, shift, x, y);
    }
}

void Form::DispatchMouseMove(int x, int y, ShiftState shift) {
    if (capture_ != nullptr) {
        raise(capture_->OnMouseMove, shift, x - capture_->Left(), y - capture_->Top());
        return;
    }
    if (form_captured_ || !RegionContains(x, y)) {
        if (form_captured_)
            raise(OnMouseMove, shift, x, y);
        return;
    }
    if (Control* control = ControlAt(x, y))
        raise(control->OnMouseMove, shift, x - control->Left(), y - control->Top());
    else
        raise(OnMouseMove, shift, x, y);
}

void Form::DispatchMouseUp(int x, int y, MouseButton button, ShiftState shift) {
    if (capture_ != nullptr) {
        Control* control = capture_;
        const int local_x = x - control->Left();
        const int local_y = y - control->Top();
        if (button != capture_button_) {
            raise(control->OnMouseUp, button, shift, local_x, local_y);
            return;
        }
        capture_ = nullptr;
        // A left-button release inside the control that took the press is a click; the click comes
        // before the release event, and the control may be gone after it.
        if (button == MouseButton::Left && control->BoundsRect().Contains(x, y)) {
            raise(control->OnClick);
            if (std::find(controls_.begin(), controls_.end(), control) == controls_.end())
                return;
        }
        raise(control->OnMouseUp, button, shift, local_x, local_y);
        return;
    }
    if (form_captured_) {
        if (button == capture_button_) {
            form_captured_ = false;
            if (button == MouseButton::Left && RegionContains(x, y))
                raise(OnClick);
        }
        raise(OnMouseUp, button, shift, x, y);
        return;
    }
    if (!RegionContains(x, y))
        return;
    if (Control* control = ControlAt(x, y))
        raise(control->OnMouseUp, button, shift, x - control->Left(), y - control->Top());
    else
        raise(OnMouseUp, button, shift, x, y);
}

void Form::DispatchMouseWheel(int x, int y, int notches, ShiftState shift) {
    if (notches == 0 || !RegionContains(x, y))
        return;
    if (Control* control = ControlAt(x, y))
        raise(control->OnMouseWheel, shift, notches, x - control->Left(), y - control->Top());
}

void Form::DispatchKeyDown(int key, ShiftState shift) {
    if (OnKeyDown) {
        KeyEvent handler = OnKeyDown;
        handler(key, shift);
    }
}

} // namespace kelvox
