#pragma once
// Writing the disc's pictures: skin bitmaps as 24-bit Windows bitmaps, entry pictures as JPEG.
#include <QImage>
#include <QString>

namespace kelvox::demo {

// Saves the picture as an uncompressed 24-bit bitmap; throws std::runtime_error when it cannot.
void save_bitmap(const QImage& image, const QString& path);

// Saves the picture as a baseline JPEG; throws std::runtime_error when it cannot.
void save_jpeg(const QImage& image, const QString& path, int quality = 88);

// Makes the directory and its parents; throws std::runtime_error when it cannot.
void make_directory(const QString& path);

// Writes the bytes to the file, replacing it; throws std::runtime_error when it cannot.
void write_file(const QString& path, const QByteArray& bytes);

} // namespace kelvox::demo
