#pragma once
// The places a drive box offers. Windows has its drive letters; elsewhere there are none, so the box
// offers the user's home directory first and then the mounted volumes a user keeps files on: the root
// and removable media mounted under /media, /mnt or /run/media.
#include <QString>
#include <QStringList>

namespace kelvox {

QStringList drive_box_entries();

// The entry a fresh drive box shows: drive C on Windows, the home directory elsewhere.
QString default_drive();

} // namespace kelvox
