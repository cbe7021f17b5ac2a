// The tint's kernel on AVX2, built with the compiler's AVX2 option and chosen only on a processor that
// has it.
#include "screen/panel_blend_kernels.h"

#if defined(KELVOX_BLEND_AVX2) && defined(__AVX2__)
#include "screen/panel_blend_vector.h"

#include <immintrin.h>

namespace kelvox {
namespace {

struct Avx2 {
    using Register = __m256i;
    static constexpr int kPixels = 8;

    static Register load(const Pixel* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    // Eight relief offsets, each sign-extended into its 32-bit lane.
    static Register load_offsets(const int8_t* q) {
        return _mm256_cvtepi8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(q)));
    }
    static void store(Pixel* p, Register v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static Register splat32(int v) { return _mm256_set1_epi32(v); }
    static Register splat16(short v) { return _mm256_set1_epi16(v); }
    static Register bit_and(Register a, Register b) { return _mm256_and_si256(a, b); }
    static Register bit_or(Register a, Register b) { return _mm256_or_si256(a, b); }
    static Register add16(Register a, Register b) { return _mm256_add_epi16(a, b); }
    static Register multiply16(Register a, Register b) { return _mm256_mullo_epi16(a, b); }
    static Register multiply_high_unsigned16(Register a, Register b) { return _mm256_mulhi_epu16(a, b); }
    template <int n> static Register shift_left16(Register a) { return _mm256_slli_epi16(a, n); }
    template <int n> static Register shift_right16(Register a) { return _mm256_srli_epi16(a, n); }
    template <int n> static Register shift_right_signed16(Register a) { return _mm256_srai_epi16(a, n); }
    static Register min16(Register a, Register b) { return _mm256_min_epi16(a, b); }
    static Register max16(Register a, Register b) { return _mm256_max_epi16(a, b); }
    static Register pack32(Register a, Register b) { return _mm256_packs_epi32(a, b); }
    static Register interleave_low16(Register a, Register b) { return _mm256_unpacklo_epi16(a, b); }
    static Register interleave_high16(Register a, Register b) { return _mm256_unpackhi_epi16(a, b); }
    static Register equal32(Register a, Register b) { return _mm256_cmpeq_epi32(a, b); }
    static Register select(Register mask, Register if_set, Register otherwise) {
        return _mm256_blendv_epi8(otherwise, if_set, mask);
    }
    // Blue + green + red of each pixel, in its 32-bit lane: byte pairs summed, then the pairs.
    static Register byte_sum(Register t) {
        return _mm256_madd_epi16(_mm256_maddubs_epi16(t, _mm256_set1_epi32(0x00010101)),
                                 _mm256_set1_epi16(1));
    }
};

} // namespace

void blend_row_avx2(const int8_t* relief, Pixel* target, int width, int level) {
    blend_vector_row<Avx2>(relief, target, width, level);
}

} // namespace kelvox
#endif
