#pragma once
// The keyboard in the menu's terms: Windows' virtual key codes for the keys handlers look at (digits
// and letters use their own character codes), with the shift state of platform/mouse.h.
#include "platform/mouse.h"

#include <functional>

namespace kelvox {

constexpr int kVirtualKeyTab = 9;
constexpr int kVirtualKeyReturn = 13;
constexpr int kVirtualKeyEscape = 27;
constexpr int kVirtualKeySpace = 32;
constexpr int kVirtualKeyPageUp = 33;
constexpr int kVirtualKeyPageDown = 34;
constexpr int kVirtualKeyEnd = 35;
constexpr int kVirtualKeyHome = 36;
constexpr int kVirtualKeyLeft = 37;
constexpr int kVirtualKeyUp = 38;
constexpr int kVirtualKeyRight = 39;
constexpr int kVirtualKeyDown = 40;

// `key` is a virtual key code, 0 for a key without one of the codes above.
using KeyEvent = std::function<void(int key, ShiftState shift)>;

} // namespace kelvox
