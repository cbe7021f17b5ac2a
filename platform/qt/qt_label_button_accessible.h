#pragma once
// A dialog's label that acts as a button ("[ wypakuj ]") is a push button for screen readers, named by
// its caption, and a reader's press clicks it (layer-internal).
#include <Qt>

class QWidget;

namespace kelvox {

// Marks the label as such and makes Qt build its interface.
void present_label_as_button(QWidget& label);

// A click in the middle of the widget, as the toolkit delivers one: the press, then the release.
void click_middle(QWidget& widget, Qt::MouseButton button);

} // namespace kelvox
