#include "screen/relief_plane.h"

#include "platform/bitmap.h"

namespace kelvox {

ReliefPlane::ReliefPlane(const Bitmap& relief)
    : width_(relief.Width()), height_(relief.Height()),
      offsets_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
    for (int y = 0; y < height_; ++y) {
        const Pixel* pixels = relief.ScanLine(y);
        int8_t* offsets = offsets_.data() + static_cast<std::size_t>(y) * width_;
        for (int x = 0; x < width_; ++x)
            offsets[x] = relief_offset(pixels[x]);
    }
}

} // namespace kelvox
