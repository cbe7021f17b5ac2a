#pragma once
// Qt's input in the menu's terms: the shift state (keys held and mouse buttons down) and the button.
#include "platform/mouse.h"

#include <Qt>

namespace kelvox {

ShiftState shift_of(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons);

// Any button but the right and the middle one counts as the left.
MouseButton button_of(Qt::MouseButton button);
Qt::MouseButton qt_button_of(MouseButton button);

} // namespace kelvox
