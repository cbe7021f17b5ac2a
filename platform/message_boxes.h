#pragma once
// Modal message boxes. Menu code shows every message the user must read through this interface, so a
// test can record them instead of blocking on a dialog.
#include <QString>

namespace kelvox {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal box with the text and an OK button; returns when the user has closed it.
    virtual void show(const QString& text) = 0;
    // A modal box with the text, the caption and the buttons OK and Cancel; true for OK.
    virtual bool confirm(const QString& text, const QString& caption) = 0;
};

} // namespace kelvox
