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

// The plain form every skin is saved in (a 40-byte header, 24 bits, uncompressed), copied row by row:
// several times faster than the toolkit's general reader, which a start pays for every skin file. The
// result is what that reader gives. Null for any other form.
QImage plain_24_bit(const QByteArray& data) {
    constexpr qsizetype kHeaders = 14 + 40;
    if (data.size() < kHeaders || u32_at(data, 14) != 40 || u16_at(data, 26) != 1 || u16_at(data, 28) != 24 ||
        u32_at(data, 30) != 0)
        return {};
    const qint64 pixels_at = u32_at(data, 10);
    const qint64 width = qint32(u32_at(data, 18));
    const qint64 signed_height = qint32(u32_at(data, 22));
    const qint64 height = std::llabs(signed_height);
    const qint64 row = (width * 3 + 3) / 4 * 4;
    if (pixels_at < kHeaders || width <= 0 || height == 0 || width > 32767 || height > 32767 ||
        pixels_at + row * height > data.size())
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.setDotsPerMeterX(qint32(u32_at(data, 38)));
    image.setDotsPerMeterY(qint32(u32_at(data, 42)));
    const auto* pixels = reinterpret_cast<const uchar*>(data.constData()) + pixels_at;
    const bool bottom_up = signed_height > 0;
    for (int y = 0; y < int(height); ++y) {
        const uchar* source = pixels + row * (bottom_up ? height - 1 - y : y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < int(width); ++x, source += 3)
            target[x] = qRgb(source[2], source[1], source[0]);
    }
    return image;
}

} // namespace

void Bitmap::LoadFromFile(const QString& name) {
    const QByteArray data = read_disc_file(name, kBitmapFileCap);
    // Decoded as BMP whatever the name says: another format under a .bmp name is not a bitmap.
    if (!data.startsWith("BM") || !pixel_data_complete(data))
        throw PlatformError(QStringLiteral("Bitmap image is not valid"));
    QImage image = plain_24_bit(data);
    if (image.isNull() && (!image.loadFromData(data, "BMP") || image.isNull()))
        throw PlatformError(QStringLiteral("Bitmap image is not valid"));
    Assign(image);
}

} // namespace kelvox
