#pragma once
// Modal message boxes shown with Qt's standard dialogs.
#include "platform/message_boxes.h"

namespace kelvox {

class QtMessageBoxes : public MessageBoxes {
public:
    // Boxes from show() carry the application title as their caption.
    void show(const QString& text) override;
    bool confirm(const QString& text, const QString& caption) override;
};

} // namespace kelvox
