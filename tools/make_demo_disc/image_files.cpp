#include "tools/make_demo_disc/image_files.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace kelvox::demo {

namespace {

[[noreturn]] void fail(const char* what, const QString& path) {
    throw std::runtime_error(std::string(what) + " " + path.toStdString());
}

} // namespace

void save_bitmap(const QImage& image, const QString& path) {
    // Qt writes a 32-bit image without alpha as a plain 24-bit BI_RGB bitmap, the form every loader reads.
    if (!image.convertToFormat(QImage::Format_RGB32).save(path, "BMP"))
        fail("cannot write bitmap", path);
}

void save_jpeg(const QImage& image, const QString& path, int quality) {
    if (!image.convertToFormat(QImage::Format_RGB32).save(path, "JPG", quality))
        fail("cannot write JPEG picture", path);
}

void make_directory(const QString& path) {
    if (!QDir().mkpath(path))
        fail("cannot create directory", path);
}

void write_file(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write", path);
}

} // namespace kelvox::demo
