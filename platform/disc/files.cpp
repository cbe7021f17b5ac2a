#include "platform/files.h"

#include "platform/disc_path.h"

#include <QDir>
#include <QFileInfo>

namespace kelvox {

QString current_directory() {
    return QDir::toNativeSeparators(QDir::currentPath());
}

bool enter_disc_root_above(const QString& marker) {
    if (file_exists(marker))
        return true;
    const QString started_in = QDir::currentPath();
    if (QDir::setCurrent(QStringLiteral("..")) && file_exists(marker))
        return true;
    QDir::setCurrent(started_in);
    return false;
}

bool set_current_directory(const QString& disc_path) {
    const QString path = native_path(disc_path);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    return QDir::setCurrent(path);
}

bool create_directory(const QString& disc_path) {
    const QString path = native_path(disc_path);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).isDir())
        return true;
    return QDir().mkdir(path);
}

bool file_exists(const QString& disc_path) {
    const QString path = native_path(disc_path);
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool directory_exists(const QString& disc_path) {
    const QString path = native_path(disc_path);
    return !path.isEmpty() && QFileInfo(path).isDir();
}

qint64 file_size(const QString& disc_path) {
    const QFileInfo info(native_path(disc_path));
    return info.isFile() ? info.size() : -1;
}

} // namespace kelvox
