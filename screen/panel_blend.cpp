#include "screen/panel_blend.h"

#include "platform/bitmap.h"

#include <algorithm>
#include <cstdint>

namespace kelvox {

namespace {

// One row, written without branches so that the compiler can work on several pixels at once: the tint
// runs on every frame of a fade, over the whole panel. Where the toolchain can pick a version by the
// processor at load time, a wide-vector one is built beside the baseline.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
__attribute__((target_clones("avx2", "default")))
#endif
void blend_row(const Pixel* relief, Pixel* target, int width, int level) {
    for (int x = 0; x < width; ++x) {
        const int32_t p = static_cast<int32_t>(relief[x] & 0xFF);
        const uint32_t t = target[x];
        const int32_t sum = static_cast<int32_t>((t & 0xFF) + ((t >> 8) & 0xFF) + ((t >> 16) & 0xFF));
        const int32_t m = (sum * 43691) >> 17; // sum / 3, exact for every sum of three bytes
        const int32_t scaled = (2 * p - 256) * level;
        const int32_t d = (scaled + ((scaled >> 31) & 15)) >> 4; // / 16, truncated toward zero
        const int32_t v = std::min(std::max(m + d, 0), 245);
        const uint32_t tinted = 0xFF000000u | (static_cast<uint32_t>(v) << 16) |
                                (static_cast<uint32_t>(v + 10) << 8) | static_cast<uint32_t>(v);
        target[x] = p == 128 ? t : tinted;
    }
}

} // namespace

void panel_blend(const Bitmap& relief, Bitmap& target, int level, const std::function<void()>& after_row) {
    for (int y = 0;; ++y) {
        const int width = std::min(relief.Width(), target.Width());
        if (y >= relief.Height() || y >= target.Height() || width <= 0)
            return;
        blend_row(relief.ScanLine(y), target.ScanLine(y), width, level);
        if (after_row)
            after_row();
    }
}

} // namespace kelvox
