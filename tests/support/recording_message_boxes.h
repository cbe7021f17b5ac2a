#pragma once
// Message boxes that record every text instead of showing it, and answer confirmations as told.
#include "platform/message_boxes.h"

#include <QString>
#include <QStringList>

namespace kelvox::test {

class RecordingMessageBoxes : public MessageBoxes {
public:
    void show(const QString& text) override;
    bool confirm(const QString& text, const QString& caption) override;

    QStringList shown;     // texts of show()
    QStringList confirmed; // texts of confirm()
    QStringList captions;  // captions of confirm()
    bool confirm_answer = true;
    // Every text in the order it appeared, whichever kind of box.
    QStringList all;
};

} // namespace kelvox::test
