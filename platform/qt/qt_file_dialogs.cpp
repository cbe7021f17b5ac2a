#include "platform/qt/qt_file_dialogs.h"

#include <QFileDialog>

namespace kelvox {

QString QtFileDialogs::open_file(const QString& title, const QString& file_name) {
    // The directory argument also takes a file name, which the dialog then preselects.
    return QFileDialog::getOpenFileName(nullptr, title, file_name);
}

} // namespace kelvox
