#include "screen/window_drag.h"

#include "platform/form.h"

namespace kelvox {

void WindowDrag::chwytMouseDown(int x, int y) {
    drag_x = static_cast<uint16_t>(x);
    drag_y = static_cast<uint16_t>(y);
    dragging = true;
}

void WindowDrag::chwytMouseMove(int x, int y) {
    if (!dragging)
        return;
    // The strip moves with the window, so the grabbed point stays under the pointer.
    window_.SetPosition(window_.Left() + (x - drag_x), window_.Top() + (y - drag_y));
}

void WindowDrag::chwytMouseUp() {
    dragging = false;
}

} // namespace kelvox
