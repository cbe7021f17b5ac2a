#pragma once
// The panel relief reduced to what the tint reads of it: each pixel's blue byte, as its distance from
// mid-grey (0 leaves the background alone). It is made once per entry, when the entry's texts have
// been written into the relief, so that every frame of a fade reads one byte of relief per pixel
// instead of a whole pixel.
#include "platform/pixel.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvox {

class Bitmap;

// A relief pixel's blue byte less 128.
constexpr int8_t relief_offset(Pixel relief) {
    return static_cast<int8_t>(static_cast<int>(relief & 0xFF) - 128);
}

class ReliefPlane {
public:
    ReliefPlane() = default;
    explicit ReliefPlane(const Bitmap& relief);

    int width() const { return width_; }
    int height() const { return height_; }
    const int8_t* row(int y) const { return offsets_.data() + static_cast<std::size_t>(y) * width_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<int8_t> offsets_;
};

} // namespace kelvox
