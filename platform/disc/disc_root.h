#pragma once
// Files held to a disc's root given by the caller rather than the current one (layer-internal): for a
// worker reading ahead of the window, which makes the root current only later and from another thread.
#include <QByteArray>
#include <QString>

namespace kelvox {

// The root as DiscRoot holds files to it.
QString canonical_disc_root(const QString& disc_path);

// read_disc_file, held to that root; any thread.
QByteArray read_disc_file_in_root(const QString& root, const QString& disc_path, qint64 max_bytes);

} // namespace kelvox
