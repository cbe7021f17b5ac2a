#pragma once
// Qt's key presses in the menu's terms, and back (for tests that press keys as the toolkit would).
#include <QString>
#include <Qt>

class QKeyEvent;

namespace kelvox {

// The virtual key code of the press; Shift+Tab arrives as Tab with Shift held.
int virtual_key_of(const QKeyEvent* event);
// The Qt key and the text a press of the virtual key brings.
Qt::Key qt_key_of(int virtual_key);
QString text_of(int virtual_key);

} // namespace kelvox
