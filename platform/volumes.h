#pragma once
// The places a drive box offers: the user's home directory (the profile folder on Windows) first, then
// the drive letters on Windows; elsewhere, where there are none, the mounted volumes a user keeps files
// on: the root and removable media mounted under /media, /mnt or /run/media.
#include <QString>
#include <QStringList>

namespace kelvox {

QStringList drive_box_entries();

// The entry a fresh drive box shows: the home directory.
QString default_drive();

} // namespace kelvox
