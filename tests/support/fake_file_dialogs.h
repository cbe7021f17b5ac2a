#pragma once
// File dialogs that answer from a script and record what they were asked.
#include "platform/file_dialogs.h"

#include <QString>

#include <vector>

namespace kelvox {

class FakeFileDialogs : public FileDialogs {
public:
    struct Question {
        QString title;
        QString file_name;
    };

    QString open_file(const QString& title, const QString& file_name) override {
        questions.push_back({title, file_name});
        return answer;
    }

    // What the user picks; empty is a cancel.
    QString answer;
    std::vector<Question> questions;
};

} // namespace kelvox
