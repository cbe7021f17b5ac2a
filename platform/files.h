#pragma once
// Files and directories, named by disc paths (see platform/disc_path.h): the process's current
// directory, directory creation, existence tests. Reading a disc file: platform/disc_file.h.
#include <QString>

namespace kelvox {

// The process's current directory in the platform's own form ("/media/disc" here, "D:\" on Windows),
// without a trailing separator unless it is the root.
QString current_directory();

// Started in the folder its program is in (a reader who opened the disc's program folder and started the
// menu there: the file manager makes that folder current), the current directory is not the disc's
// root. When it lacks `marker` (a disc path) and the folder above it holds it, that folder becomes
// current. Whether the current directory holds it after. Needs no application object.
bool enter_disc_root_above(const QString& marker);

// Makes the directory the disc path names current; false (and the current directory unchanged) when
// it does not exist or cannot be entered.
bool set_current_directory(const QString& disc_path);

// Creates the directory (one level; its parent must exist). False when it could not be created; true
// also when it already exists as a directory.
bool create_directory(const QString& disc_path);

// Whether the disc path names an existing regular file (a directory is not a file).
bool file_exists(const QString& disc_path);

// Whether the disc path names an existing directory.
bool directory_exists(const QString& disc_path);

// The size of the file in bytes, or -1 when it cannot be found.
qint64 file_size(const QString& disc_path);

} // namespace kelvox
