#pragma once
// Loading one of the disc's text files as lines, decoded as platform/text_codec.h says.
#include <QString>
#include <QStringList>

namespace kelvox {

// The lines of the disc file (read as platform/disc_file.h says, at most max_bytes). Raises
// DiscFileError, a "Cannot open file %s" with the name as given, when it cannot be read.
QStringList load_text_lines(const QString& disc_path, qint64 max_bytes);

} // namespace kelvox
