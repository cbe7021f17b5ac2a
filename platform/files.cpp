#include "platform/files.h"

#include "platform/disc_path.h"
#include "platform/platform_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kelvox {

QString current_directory() {
    return QDir::toNativeSeparators(QDir::currentPath());
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

QByteArray read_file_bytes(const QString& disc_path) {
    QFile file(native_path(disc_path));
    if (disc_path.isEmpty() || QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly))
        throw cannot_open_file(disc_path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw cannot_open_file(disc_path);
    return bytes;
}

} // namespace kelvox
