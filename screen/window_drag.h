#pragma once
// Moving the window in window mode by its grab strip, which has no title bar of the system's.
#include <cstdint>

namespace kelvox {

class Form;

class WindowDrag {
public:
    explicit WindowDrag(Form& window) : window_(window) {}

    bool dragging = false;
    uint16_t drag_x = 0;
    uint16_t drag_y = 0;

    void chwytMouseDown(int x, int y);
    // The strip keeps the moves while its button is held, even outside itself.
    void chwytMouseMove(int x, int y);
    void chwytMouseUp();

private:
    Form& window_;
};

} // namespace kelvox
