// The tint's kernel on AVX-512 (with its byte permutes and dot products), built with those options and
// chosen only on a processor that has them all. It takes 32 pixels at a time, so that the division by
// three, the step and the clamp each run once for 32 pixels in 16-bit lanes:
//   sum         the target's blue + green + red, from a dot product of its bytes with 1, 1, 1, 0
//   brightness  the high half of sum × 21846 (exact for every sum of three bytes)
//   step        q × level / 8 truncated toward zero: negative offsets get 7 added before the shift
//   pixel       v = brightness + step held to 0 … 245; blue v, green v + 10, red v, alpha 255, picked
//               byte by byte from v and v + 0xFF0A
// Pixels whose offset is 0 are not stored at all, so they keep the target's pixel.
#include "screen/panel_blend_kernels.h"

#if defined(KELVOX_BLEND_AVX512) && defined(__AVX512BW__) && defined(__AVX512VNNI__) &&                      \
    defined(__AVX512VBMI__)
#include <immintrin.h>

namespace kelvox {
namespace {

// The product q × level must fit a 16-bit lane, and the truncation above holds for levels of 0 and up.
constexpr int kWidestLevel = 127;

struct Constants {
    __m512i byte_weights = _mm512_set1_epi32(0x00010101);
    __m512i third = _mm512_set1_epi16(21846);
    __m512i seven = _mm512_set1_epi16(7);
    __m512i zero = _mm512_setzero_si512();
    __m512i ceiling = _mm512_set1_epi16(245);
    __m512i green_alpha = _mm512_set1_epi16(static_cast<short>(0xFF0A));
    // The low half of every 32-bit lane of two registers, in order.
    __m512i low_halves = _mm512_set_epi16(62, 60, 58, 56, 54, 52, 50, 48, 46, 44, 42, 40, 38, 36, 34, 32, 30,
                                          28, 26, 24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 0);
    // Pixel j of the first (second) 16: v's low byte for blue and red, the green and alpha bytes from v +
    // 0xFF0A.
    __m512i first_pixels = pixel_bytes(0);
    __m512i second_pixels = pixel_bytes(16);
    __m512i level;

    explicit Constants(int fade_level) : level(_mm512_set1_epi16(static_cast<short>(fade_level))) {}

    static __m512i pixel_bytes(int first) {
        alignas(64) unsigned char index[64];
        for (int j = 0; j < 16; ++j) {
            const auto v = static_cast<unsigned char>(2 * (first + j));
            index[4 * j] = v;
            index[4 * j + 1] = static_cast<unsigned char>(64 + v);
            index[4 * j + 2] = v;
            index[4 * j + 3] = static_cast<unsigned char>(64 + v + 1);
        }
        return _mm512_load_si512(index);
    }
};

// Up to 32 pixels: `present` says which of them the row has (all of them but at the row's end).
inline void blend_32(const Constants& c, const int8_t* relief, Pixel* target, __mmask32 present) {
    const __m512i first = _mm512_maskz_loadu_epi32(static_cast<__mmask16>(present), target);
    const __m512i second = _mm512_maskz_loadu_epi32(static_cast<__mmask16>(present >> 16), target + 16);
    const __m512i sum =
        _mm512_permutex2var_epi16(_mm512_dpbusd_epi32(c.zero, first, c.byte_weights), c.low_halves,
                                  _mm512_dpbusd_epi32(c.zero, second, c.byte_weights));
    const __m256i offset_bytes = _mm256_maskz_loadu_epi8(present, relief);
    const __m512i offsets = _mm512_cvtepi8_epi16(offset_bytes);
    __m512i scaled = _mm512_mullo_epi16(offsets, c.level);
    scaled = _mm512_mask_add_epi16(scaled, _mm512_movepi16_mask(offsets), scaled, c.seven);
    const __m512i brightness = _mm512_mulhi_epu16(sum, c.third);
    const __m512i v = _mm512_min_epi16(
        _mm512_max_epi16(_mm512_add_epi16(brightness, _mm512_srai_epi16(scaled, 3)), c.zero), c.ceiling);
    const __m512i lifted = _mm512_add_epi16(v, c.green_alpha);
    // Offsets beyond the row's end were loaded as 0, so they are never stored.
    const __mmask32 tinted = _mm256_test_epi8_mask(offset_bytes, offset_bytes);
    _mm512_mask_storeu_epi32(target, static_cast<__mmask16>(tinted),
                             _mm512_permutex2var_epi8(v, c.first_pixels, lifted));
    _mm512_mask_storeu_epi32(target + 16, static_cast<__mmask16>(tinted >> 16),
                             _mm512_permutex2var_epi8(v, c.second_pixels, lifted));
}

} // namespace

void blend_row_avx512(const int8_t* relief, Pixel* target, int width, int level) {
    if (level < 0 || level > kWidestLevel)
        return blend_row_plain(relief, target, width, level);
    const Constants constants(level);
    int x = 0;
    for (; x + 32 <= width; x += 32)
        blend_32(constants, relief + x, target + x, ~__mmask32{0});
    if (x < width)
        blend_32(constants, relief + x, target + x, (1u << (width - x)) - 1);
}

} // namespace kelvox
#endif
