#pragma once
// The shift state of a Qt input event in the menu's terms: keys held and mouse buttons down.
#include "platform/mouse.h"

#include <Qt>

namespace kelvox {

ShiftState shift_of(Qt::KeyboardModifiers keys, Qt::MouseButtons buttons);

} // namespace kelvox
