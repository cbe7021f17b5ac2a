#pragma once
// Pixel arithmetic shared by the canvas and the controls (layer-internal).
#include "platform/colour.h"
#include "platform/drawing_tools.h"
#include "platform/pixel.h"

namespace kelvox {

constexpr Pixel kColourBits = 0x00FFFFFFu;

// One pixel drawn over `below` with a pen or brush colour in the given mode.
constexpr Pixel apply_pen_mode(Pixel below, PenMode mode, Colour colour) {
    switch (mode) {
    case PenMode::Copy:
        return colour_to_pixel(colour);
    case PenMode::Xor:
        return below ^ (colour_to_pixel(colour) & kColourBits);
    case PenMode::Not:
        return below ^ kColourBits;
    }
    return below;
}

} // namespace kelvox
