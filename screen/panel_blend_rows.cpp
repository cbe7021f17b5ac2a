#include "screen/panel_blend_rows.h"

#include "screen/panel_blend_kernels.h"

#include <algorithm>
#include <cstdint>

namespace kelvox {

namespace {

// Beyond this level every relief value but 128 moves the brightness at least 256 (the smallest step,
// 2 × level / 16, does), so every pixel ends at 0 or 245 either way; holding the level there keeps
// the products within 32 bits.
constexpr int kSaturatingLevel = 2048;

} // namespace

// Written without branches so that the compiler can vectorise it where no wider kernel is built.
void blend_row_plain(const int8_t* relief, Pixel* target, int width, int level) {
    level = std::clamp(level, -kSaturatingLevel, kSaturatingLevel);
    for (int x = 0; x < width; ++x) {
        const int32_t q = relief[x];
        const uint32_t t = target[x];
        const int32_t sum = static_cast<int32_t>((t & 0xFF) + ((t >> 8) & 0xFF) + ((t >> 16) & 0xFF));
        const int32_t m = (sum * 43691) >> 17; // sum / 3, exact for every sum of three bytes
        const int32_t scaled = 2 * q * level;
        const int32_t d = (scaled + ((scaled >> 31) & 15)) >> 4; // / 16, truncated toward zero
        const int32_t v = std::min(std::max(m + d, 0), 245);
        const uint32_t tinted = 0xFF000000u | (static_cast<uint32_t>(v) << 16) |
                                (static_cast<uint32_t>(v + 10) << 8) | static_cast<uint32_t>(v);
        target[x] = q == 0 ? t : tinted;
    }
}

std::vector<BlendRowKernel> runnable_blend_rows() {
    std::vector<BlendRowKernel> kernels{{"plain", blend_row_plain}};
#if KELVOX_BLEND_SSE2
    kernels.push_back({"sse2", blend_row_sse2});
#endif
#if defined(KELVOX_BLEND_AVX2)
    if (__builtin_cpu_supports("avx2"))
        kernels.push_back({"avx2", blend_row_avx2});
#endif
#if defined(KELVOX_BLEND_AVX512)
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vnni") &&
        __builtin_cpu_supports("avx512vbmi"))
        kernels.push_back({"avx512", blend_row_avx512});
#endif
    return kernels;
}

BlendRow fastest_blend_row() {
    static const BlendRow chosen = runnable_blend_rows().back().row;
    return chosen;
}

} // namespace kelvox
