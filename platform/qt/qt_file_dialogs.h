#pragma once
#include "platform/file_dialogs.h"

namespace kelvox {

// The dialogs of the platform's widget toolkit.
class QtFileDialogs : public FileDialogs {
public:
    QString open_file(const QString& title, const QString& file_name) override;
};

} // namespace kelvox
