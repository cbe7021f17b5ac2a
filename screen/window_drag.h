#pragma once
// Moving the window in window mode by its grab strip, which has no title bar of the system's.
#include <cstdint>

namespace kelvox {

class Form;

class WindowDrag {
public:
    explicit WindowDrag(Form& window) : window_(window) {}

    void chwytMouseDown(int x, int y);
    // The strip keeps the moves while its button is held, even outside itself.
    void chwytMouseMove(int x, int y);
    void chwytMouseUp();

private:
    Form& window_;
    bool dragging_ = false;
    uint16_t drag_x_ = 0;
    uint16_t drag_y_ = 0;
};

} // namespace kelvox
