#include "platform/volumes.h"

#include <QDir>
#include <QStorageInfo>

namespace kelvox {

namespace {

bool offered_mount_point(const QString& path) {
    if (path == QLatin1String("/"))
        return true;
    for (const char* parent : {"/media/", "/mnt/", "/run/media/"}) {
        if (path.startsWith(QLatin1String(parent)))
            return true;
    }
    return false;
}

} // namespace

QStringList drive_box_entries() {
    QStringList entries;
    entries << QDir::homePath();
    QStringList mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString path = volume.rootPath();
        if (volume.isValid() && offered_mount_point(path) && !mounts.contains(path))
            mounts << path;
    }
    mounts.sort();
    entries << mounts;
    return entries;
}

QString default_drive() {
    return QDir::homePath();
}

} // namespace kelvox
