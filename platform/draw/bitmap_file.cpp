#include "platform/bitmap.h"

#include "platform/disc_file.h"
#include "platform/draw/bitmap_file.h"
#include "platform/draw/image_memory.h"
#include "platform/platform_error.h"

#include <QImage>
#include <QtEndian>

#include <array>
#include <bit>
#include <cstdlib>

namespace kelvox {

namespace {

constexpr qsizetype kFileHeader = 14;
// Compressions a file header names.
constexpr quint32 kRgb = 0;
constexpr quint32 kRle8 = 1;
constexpr quint32 kRle4 = 2;
constexpr quint32 kBitFields = 3;

quint32 u32_at(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 u16_at(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}

// Whether run-length codes set every pixel of the picture before they end. The toolkit's reader leaves
// a pixel the codes never reach as it found it in memory, so a stream cut short (or one that skips
// pixels with a move, or ends a row or the picture early) would show whatever the memory held. A run
// past the end of a row is refused too: where it goes is the reader's guess.
bool run_lengths_set_every_pixel(const QByteArray& data, qint64 pixels_at, qint64 width, qint64 height,
                                 bool eight_bits) {
    if (pixels_at < 0 || pixels_at > data.size())
        return false;
    const auto* code = reinterpret_cast<const uchar*>(data.constData()) + pixels_at;
    const auto* const end = reinterpret_cast<const uchar*>(data.constData()) + data.size();
    qint64 x = 0;
    qint64 row = 0;
    while (end - code >= 2) {
        const int count = code[0];
        const int value = code[1];
        code += 2;
        if (count == 0 && value == 1) // end of the picture
            return row == height || (row == height - 1 && x == width);
        if (count == 0 && value == 0) { // end of a row
            if (x != width)
                return false;
            x = 0;
            ++row;
            continue;
        }
        if (row >= height || (count == 0 && value == 2)) // past the last row, or a move
            return false;
        const int pixels = count > 0 ? count : value;
        if (x + pixels > width)
            return false;
        x += pixels;
        if (count == 0) { // that many pixels as they stand, padded to a whole word
            const qint64 bytes = eight_bits ? pixels : (pixels + 1) / 2;
            if (end - code < (bytes + 1) / 2 * 2)
                return false;
            code += (bytes + 1) / 2 * 2;
        }
    }
    return row == height;
}

// Whether the file holds all the pixel data its headers promise. Qt's reader fills the rows of a cut
// file with black and calls it a picture; a skin cut short must be refused like any other bad one.
bool pixel_data_complete(const QByteArray& data) {
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
    if (compression == kRle8 || compression == kRle4)
        return bits == (compression == kRle8 ? 8 : 4) && width > 0 &&
               run_lengths_set_every_pixel(data, pixels_at, width, height, compression == kRle8);
    if (compression != kRgb && compression != kBitFields)
        return image_size == 0 || pixels_at + qint64(image_size) <= data.size();
    if (width <= 0 || bits <= 0)
        return false;
    const qint64 row = (width * bits + 31) / 32 * 4;
    return pixels_at + row * height <= data.size();
}

// One colour channel of a 16-bit pixel: where its mask sits and how many bits it has.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    int bits = 0;
};

// False for a mask whose bits are not one run, which the general reader is left to.
bool channel_of(quint32 mask, Channel& channel) {
    channel = {mask, mask == 0 ? 0 : std::countr_zero(mask), std::popcount(mask)};
    return mask == 0 || ((mask >> channel.shift) & ((mask >> channel.shift) + 1)) == 0;
}

// Widened to 8 bits by repeating the channel's bits, so that its largest value is 255: the toolkit's
// shift makes a 5-bit white 248, and a skin's white would then show where it is meant to be cut away.
int widened(quint32 pixel, const Channel& channel) {
    if (channel.bits == 0)
        return 0;
    const quint32 value = (pixel & channel.mask) >> channel.shift;
    if (channel.bits >= 8)
        return int(value >> (channel.bits - 8));
    const quint32 top = value << (8 - channel.bits);
    quint32 result = top;
    for (int step = channel.bits; step < 8; step += channel.bits)
        result |= top >> step;
    return int(result);
}

// Uncompressed pixels of 24 bits (the form every skin is saved in) and of 16 bits, read row by row
// here: several times faster than the toolkit's general reader, which a start pays for every skin
// file, and 16-bit channels widened as they should be. Null for any other form.
QImage uncompressed(const QByteArray& data) {
    if (data.size() < kFileHeader + 40 || u16_at(data, 26) != 1)
        return {};
    const quint32 info_size = u32_at(data, kFileHeader);
    const int bits = u16_at(data, 28);
    const quint32 compression = u32_at(data, 30);
    std::array<Channel, 3> channels{};
    if (bits == 24 && compression == kRgb && info_size == 40) {
        // Bytes blue, green, red.
    } else if (bits == 16 && (compression == kRgb || compression == kBitFields) &&
               (info_size == 40 || info_size == 108 || info_size == 124)) {
        std::array<quint32, 3> masks{0x7C00, 0x03E0, 0x001F};
        if (compression == kBitFields) {
            // After a 40-byte header the masks follow it; the later headers hold them, with alpha's.
            const qsizetype at = kFileHeader + 40;
            if (data.size() < at + 16 || (info_size > 40 && u32_at(data, at + 12) != 0))
                return {};
            masks = {u32_at(data, at), u32_at(data, at + 4), u32_at(data, at + 8)};
        }
        for (int i = 0; i < 3; ++i)
            if (masks[i] > 0xFFFF || !channel_of(masks[i], channels[i]))
                return {};
    } else {
        return {};
    }
    const qint64 pixels_at = u32_at(data, 10);
    const qint64 width = qint32(u32_at(data, 18));
    const qint64 signed_height = qint32(u32_at(data, 22));
    const qint64 height = std::llabs(signed_height);
    const qint64 row = (width * bits + 31) / 32 * 4;
    if (pixels_at < kFileHeader + qint64(info_size) || width <= 0 || height == 0 || width > 32767 ||
        height > 32767 || pixels_at + row * height > data.size())
        return {};
    QImage image = new_rgb32_image(int(width), int(height));
    if (image.isNull())
        return {};
    image.setDotsPerMeterX(qint32(u32_at(data, 38)));
    image.setDotsPerMeterY(qint32(u32_at(data, 42)));
    const auto* pixels = reinterpret_cast<const uchar*>(data.constData()) + pixels_at;
    const bool bottom_up = signed_height > 0;
    for (int y = 0; y < int(height); ++y) {
        const uchar* source = pixels + row * (bottom_up ? height - 1 - y : y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (bits == 24) {
            for (int x = 0; x < int(width); ++x, source += 3)
                target[x] = qRgb(source[2], source[1], source[0]);
            continue;
        }
        for (int x = 0; x < int(width); ++x, source += 2) {
            const quint32 pixel = quint32(source[0]) | quint32(source[1]) << 8;
            target[x] =
                qRgb(widened(pixel, channels[0]), widened(pixel, channels[1]), widened(pixel, channels[2]));
        }
    }
    return image;
}

PlatformError not_a_bitmap() {
    return PlatformError(QStringLiteral("Bitmap image is not valid"));
}

} // namespace

BitmapFileData check_bitmap_file(QByteArray file) {
    // Decoded as BMP whatever the name says: another format under a .bmp name is not a bitmap.
    if (!file.startsWith("BM") || !pixel_data_complete(file))
        throw not_a_bitmap();
    QImage pixels = uncompressed(file);
    return {std::move(file), std::move(pixels)};
}

QImage decode_bitmap_file(BitmapFileData data) {
    QImage& image = data.pixels;
    if (image.isNull() && (!image.loadFromData(data.file, "BMP") || image.isNull()))
        throw not_a_bitmap();
    return std::move(image);
}

void Bitmap::LoadFromFile(const QString& name) {
    Assign(decode_bitmap_file(check_bitmap_file(read_disc_file(name, kBitmapFileCap))));
}

} // namespace kelvox
