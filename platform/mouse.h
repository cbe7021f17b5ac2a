#pragma once
// Mouse buttons and the shift state that comes with every pointer event.
#include <functional>

namespace kelvox {

enum class MouseButton { Left, Right, Middle };

// Bit flags: keys held and buttons down while the event happened.
using ShiftState = unsigned;
constexpr ShiftState kShiftKey = 1u << 0;
constexpr ShiftState kAltKey = 1u << 1;
constexpr ShiftState kCtrlKey = 1u << 2;
constexpr ShiftState kLeftButton = 1u << 3;
constexpr ShiftState kRightButton = 1u << 4;
constexpr ShiftState kMiddleButton = 1u << 5;

constexpr ShiftState button_flag(MouseButton button) {
    return button == MouseButton::Right    ? kRightButton
           : button == MouseButton::Middle ? kMiddleButton
                                           : kLeftButton;
}

using MouseButtonEvent = std::function<void(MouseButton button, ShiftState shift, int x, int y)>;
using MouseMoveEvent = std::function<void(ShiftState shift, int x, int y)>;
// Whole notches of the wheel: positive rolled away from the user (up), negative towards them.
using MouseWheelEvent = std::function<void(ShiftState shift, int notches, int x, int y)>;
using NotifyEvent = std::function<void()>;

} // namespace kelvox
