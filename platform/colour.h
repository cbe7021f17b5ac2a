#pragma once
// Colours as the menu code writes them: Windows colour values 0x00BBGGRR (blue in the high byte).
// The layer's pixels are 0xFFRRGGBB words (red in the high byte, the opaque alpha on top), so every
// colour crosses this one conversion on its way to a pixel.
#include <cstdint>

namespace kelvox {

using Colour = std::uint32_t;

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;

constexpr Colour make_colour(int red, int green, int blue) {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int colour_red(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int colour_green(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int colour_blue(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// A pixel word of the layer's 32-bit images.
constexpr std::uint32_t colour_to_pixel(Colour c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(colour_red(c)) << 16) |
           (static_cast<std::uint32_t>(colour_green(c)) << 8) | static_cast<std::uint32_t>(colour_blue(c));
}
constexpr Colour pixel_to_colour(std::uint32_t pixel) {
    return make_colour(static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                       static_cast<int>(pixel & 0xFF));
}

} // namespace kelvox
