#include "platform/volumes.h"

#include "platform/win32/win32_text.h"

namespace kelvox {

// The reader's profile folder first, where the unpack dialog starts, as the home directory does on the
// other systems; then every drive letter in use. The drives' media are not touched: an empty floppy
// or CD drive would keep the dialog waiting.
QStringList drive_box_entries() {
    QStringList entries{default_drive()};
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if ((drives & (DWORD(1) << letter)) == 0)
            continue;
        const QString root = QChar(u'A' + letter) + QStringLiteral(":\\");
        if (GetDriveTypeW(wide(root)) != DRIVE_NO_ROOT_DIR)
            entries << root;
    }
    return entries;
}

QString default_drive() {
    return QDir::toNativeSeparators(QDir::homePath());
}

} // namespace kelvox
