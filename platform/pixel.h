#pragma once
// Direct access to the pixel rows of a bitmap. A row is an array of 32-bit words 0xFFRRGGBB; code that
// works on "24-bit rows" reads and writes the blue, green and red bytes of each word through these
// helpers, and every word it writes keeps the opaque alpha.
#include <cstdint>

namespace kelvox {

using Pixel = std::uint32_t;

constexpr std::uint8_t pixel_blue(Pixel p) {
    return static_cast<std::uint8_t>(p & 0xFF);
}
constexpr std::uint8_t pixel_green(Pixel p) {
    return static_cast<std::uint8_t>((p >> 8) & 0xFF);
}
constexpr std::uint8_t pixel_red(Pixel p) {
    return static_cast<std::uint8_t>((p >> 16) & 0xFF);
}
constexpr Pixel make_pixel(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return 0xFF000000u | (static_cast<Pixel>(red) << 16) | (static_cast<Pixel>(green) << 8) | blue;
}

} // namespace kelvox
