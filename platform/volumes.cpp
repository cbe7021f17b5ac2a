#include "platform/volumes.h"

#include <QDir>
#include <QStorageInfo>

namespace kelvox {

namespace {

#ifndef _WIN32
bool offered_mount_point(const QString& path) {
    if (path == QLatin1String("/"))
        return true;
    for (const char* parent : {"/media/", "/mnt/", "/run/media/"}) {
        if (path.startsWith(QLatin1String(parent)))
            return true;
    }
    return false;
}
#endif

} // namespace

QStringList drive_box_entries() {
    QStringList entries;
#ifdef _WIN32
    for (const QFileInfo& drive : QDir::drives())
        entries << QDir::toNativeSeparators(drive.absolutePath());
#else
    entries << QDir::homePath();
    QStringList mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString path = volume.rootPath();
        if (volume.isValid() && offered_mount_point(path) && !mounts.contains(path))
            mounts << path;
    }
    mounts.sort();
    entries << mounts;
#endif
    return entries;
}

QString default_drive() {
#ifdef _WIN32
    return QStringLiteral("C:\\");
#else
    return QDir::homePath();
#endif
}

} // namespace kelvox
