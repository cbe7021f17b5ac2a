#pragma once
#include <QString>

namespace kelvox::demo {

// Writes the whole demo disc under root: the skin directory "menu" (bitmaps, catalogue, ticker lines;
// the font and the music are added by the build's scripts) and every entry's directory with its
// description, pictures and file. Throws std::runtime_error on a file that cannot be written.
void make_demo_disc(const QString& root);

// root + "/" + a disc path written with backslashes.
QString on_disc(const QString& root, const QString& disc_path);

} // namespace kelvox::demo
