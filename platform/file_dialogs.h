#pragma once
// Modal file dialogs. Components ask through this interface so that a test can answer in place of the user.
#include <QString>

namespace kelvox {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // A modal file-open dialog without an owner, with the title and the file name preset; the chosen path,
    // or an empty text when the user cancels.
    virtual QString open_file(const QString& title, const QString& file_name) = 0;
};

} // namespace kelvox
