#pragma once
// Message boxes for tests: records every text instead of blocking on a dialog, and answers
// confirmations as told.
#include "platform/message_boxes.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace kelvox {

class FakeMessageBoxes final : public MessageBoxes {
public:
    QStringList shown;
    // Each confirmation's text and caption, in order.
    std::vector<std::pair<QString, QString>> confirmations;
    // What confirm answers: true for OK.
    bool answer = true;

    void show(const QString& text) override { shown << text; }
    bool confirm(const QString& text, const QString& caption) override {
        confirmations.emplace_back(text, caption);
        return answer;
    }
};

} // namespace kelvox
