#pragma once
// The names the atomic replacement (platform/atomic_file.h) gives its temporaries beside a target,
// shared by every system's writer so that each tells its own leftovers from the user's files:
// ".<target's name>.<up to 7 base-36 digits>.tmp".
#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace kelvox {

// A fresh temporary's absolute path, in the target's folder, with a random middle.
QString temporary_file_name(const QFileInfo& target);

// The files in the target's folder that bear that naming, as absolute paths: the temporaries a killed
// writer may have left, and those of writers still at work, which the caller must tell apart.
QStringList temporary_files_of(const QFileInfo& target);

} // namespace kelvox
