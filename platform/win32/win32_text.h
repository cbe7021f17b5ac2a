#pragma once
// Windows names files, keys and devices in UTF-16, as QString holds its text, so a name passes to the
// wide ("W") functions as it stands. The narrow functions would go through the ANSI code page, which
// loses Polish letters on every system not set to Central European.
#include <QDir>
#include <QFileInfo>
#include <QString>

#include <windows.h>

namespace kelvox {

inline const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// A Qt path (any separators, relative to the current directory) as Windows' own functions want it:
// absolute, with backslashes, doubled separators and "." steps gone.
inline QString windows_path(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace kelvox
