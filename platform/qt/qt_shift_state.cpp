#include "platform/qt/qt_shift_state.h"

namespace kelvox {

ShiftState shift_of(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons) {
    ShiftState shift = 0;
    if (keys & Qt::ShiftModifier)
        shift |= kShiftKey;
    if (keys & Qt::AltModifier)
        shift |= kAltKey;
    if (keys & Qt::ControlModifier)
        shift |= kCtrlKey;
    if (buttons & Qt::LeftButton)
        shift |= kLeftButton;
    if (buttons & Qt::RightButton)
        shift |= kRightButton;
    if (buttons & Qt::MiddleButton)
        shift |= kMiddleButton;
    return shift;
}

MouseButton button_of(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::Left;
    }
}

Qt::MouseButton qt_button_of(MouseButton button) {
    switch (button) {
    case MouseButton::Right:
        return Qt::RightButton;
    case MouseButton::Middle:
        return Qt::MiddleButton;
    case MouseButton::Left:
        break;
    }
    return Qt::LeftButton;
}

} // namespace kelvox
