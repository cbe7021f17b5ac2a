#include "platform/bitmap.h"

#include "platform/disc_file.h"
#include "platform/platform_error.h"

#include <QImage>
#include <QtEndian>

#include <cstdlib>

namespace kelvox {

namespace {

quint32 u32_at(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 u16_at(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}

// Whether the file holds all the pixel data its headers promise. Qt's reader fills the rows of a cut
// file with black and calls it a picture; a skin cut short must be refused like any other bad one.
bool pixel_data_complete(const QByteArray& data) {
    constexpr qsizetype kFileHeader = 14;
    if (data.size() < kFileHeader + 4)
        return false;
    const qint64 pixels_at = u32_at(data, 10);
    const quint32 info_size = u32_at(data, kFileHeader);
    qint64 width = 0;
    qint64 height = 0;
    qint64 bits = 0;
    quint32 compression = 0;
    quint32 image_size = 0;
    if (info_size == 12) { // the OS/2 core header: 16-bit sizes, never compressed
        if (data.size() < kFileHeader + 12)
            return false;
        width = u16_at(data, 18);
        height = u16_at(data, 20);
        bits = u16_at(data, 24);
    } else {
        if (info_size < 40 || data.size() < kFileHeader + 40)
            return false;
        width = qint32(u32_at(data, 18));
        height = std::llabs(qint64(qint32(u32_at(data, 22))));
        bits = u16_at(data, 28);
        compression = u32_at(data, 30);
        image_size = u32_at(data, 34);
    }
    constexpr quint32 kRgb = 0;
    constexpr quint32 kBitFields = 3;
    if (compression != kRgb && compression != kBitFields)
        return image_size == 0 || pixels_at + qint64(image_size) <= data.size(); // run-length coded
    if (width <= 0 || bits <= 0)
        return false;
    const qint64 row = (width * bits + 31) / 32 * 4;
    return pixels_at + row * height <= data.size();
}

} // namespace

void Bitmap::LoadFromFile(const QString& name) {
    const QByteArray data = read_disc_file(name, kBitmapFileCap);
    QImage image;
    // Decoded as BMP whatever the name says: another format under a .bmp name is not a bitmap.
    if (!data.startsWith("BM") || !pixel_data_complete(data) || !image.loadFromData(data, "BMP") ||
        image.isNull())
        throw PlatformError(QStringLiteral("Bitmap image is not valid"));
    Assign(image);
}

} // namespace kelvox
