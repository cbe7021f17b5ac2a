#pragma once
// Paths as the disc's own files write them, and their translation at the file-system boundary.
//
// Menu code keeps every path in the disc's form: backslash separators and whatever letter case the
// author typed, built as program_dir + "\" + path. Only this layer turns such a path into one the
// file system opens:
//   - "\" becomes "/";
//   - on a case-sensitive file system, a component that does not exist under its exact name is
//     matched case-insensitively against the entries of the directory reached so far (discs authored
//     on Windows mix cases, ISO 9660 mounts upper-case them).
// The matching only ever picks an entry of the directory it is looking in, so it never takes a path
// out of the tree the path itself names; "." and ".." are taken as they stand.
#include <QString>

namespace kelvox {

// "\" → "/"; nothing else changes. A pure text operation, no file-system access.
QString disc_to_slashes(const QString& disc_path);

// The path the file system should open for a disc path (relative paths stay relative to the current
// directory). When a component cannot be found at all, the rest of the path is kept as written, so the
// result names the missing file the way the caller asked for it.
QString native_path(const QString& disc_path);

// How the file system compares names: case-insensitively on Windows, case-sensitively elsewhere.
Qt::CaseSensitivity file_name_case();

} // namespace kelvox
