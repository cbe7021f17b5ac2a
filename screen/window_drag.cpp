#include "screen/window_drag.h"

#include "platform/form.h"

namespace kelvox {

void WindowDrag::chwytMouseDown(int x, int y) {
    drag_x_ = static_cast<uint16_t>(x);
    drag_y_ = static_cast<uint16_t>(y);
    dragging_ = true;
}

void WindowDrag::chwytMouseMove(int x, int y) {
    if (!dragging_)
        return;
    // The strip moves with the window, so the grabbed point stays under the pointer.
    window_.SetPosition(window_.Left() + (x - drag_x_), window_.Top() + (y - drag_y_));
}

void WindowDrag::chwytMouseUp() {
    dragging_ = false;
}

} // namespace kelvox
