#pragma once
// Loading one of the disc's text files as lines, decoded as platform/text_codec.h says.
#include <QString>
#include <QStringList>

namespace kelvox {

// The lines of the file named by the disc path. Raises cannot_open_file with the name as given when the
// file cannot be opened.
QStringList load_text_lines(const QString& disc_path);

} // namespace kelvox
