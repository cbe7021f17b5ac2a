#include "tests/support/bmp_writer.h"

#include <cstdint>

namespace kelvox::test {

namespace {

void put16(QByteArray& out, std::uint16_t value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

void put32(QByteArray& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>((value >> shift) & 0xFF));
}

} // namespace

QByteArray bmp24(int width, int height, const std::function<Colour(int x, int y)>& pixel) {
    const int row_size = (width * 3 + 3) / 4 * 4;
    const std::uint32_t data_size = static_cast<std::uint32_t>(row_size * height);
    QByteArray out;
    out.append("BM");
    put32(out, 14 + 40 + data_size);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // no compression
    put32(out, data_size);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = pixel(x, y);
            out.append(static_cast<char>(colour_blue(c)));
            out.append(static_cast<char>(colour_green(c)));
            out.append(static_cast<char>(colour_red(c)));
        }
        out.append(QByteArray(row_size - width * 3, '\0'));
    }
    return out;
}

QByteArray bmp24(int width, int height, Colour colour) {
    return bmp24(width, height, [colour](int, int) { return colour; });
}

} // namespace kelvox::test
