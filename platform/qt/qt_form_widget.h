#pragma once
// The Qt widget that is a form's window: the parent of a dialog's widgets, and what tests send events to.
#include "platform/form.h"

class QWidget;

namespace kelvox {

QWidget* qt_widget(Form& form);

} // namespace kelvox
