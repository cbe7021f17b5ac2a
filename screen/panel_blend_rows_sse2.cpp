// The tint's kernel on SSE2, which every x86-64 processor has.
#include "screen/panel_blend_kernels.h"

#if KELVOX_BLEND_SSE2
#include "screen/panel_blend_vector.h"

#include <emmintrin.h>

namespace kelvox {
namespace {

struct Sse2 {
    using Register = __m128i;
    static constexpr int kPixels = 4;

    static Register load(const Pixel* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    // Four relief offsets, each sign-extended into its 32-bit lane.
    static Register load_offsets(const int8_t* q) {
        const Register bytes = _mm_loadu_si32(q);
        const Register words = _mm_unpacklo_epi8(bytes, bytes);
        return _mm_srai_epi32(_mm_unpacklo_epi16(words, words), 24);
    }
    static void store(Pixel* p, Register v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static Register splat32(int v) { return _mm_set1_epi32(v); }
    static Register splat16(short v) { return _mm_set1_epi16(v); }
    static Register bit_and(Register a, Register b) { return _mm_and_si128(a, b); }
    static Register bit_or(Register a, Register b) { return _mm_or_si128(a, b); }
    static Register add16(Register a, Register b) { return _mm_add_epi16(a, b); }
    static Register multiply16(Register a, Register b) { return _mm_mullo_epi16(a, b); }
    static Register multiply_high_unsigned16(Register a, Register b) { return _mm_mulhi_epu16(a, b); }
    template <int n> static Register shift_left16(Register a) { return _mm_slli_epi16(a, n); }
    template <int n> static Register shift_right16(Register a) { return _mm_srli_epi16(a, n); }
    template <int n> static Register shift_right_signed16(Register a) { return _mm_srai_epi16(a, n); }
    static Register min16(Register a, Register b) { return _mm_min_epi16(a, b); }
    static Register max16(Register a, Register b) { return _mm_max_epi16(a, b); }
    static Register pack32(Register a, Register b) { return _mm_packs_epi32(a, b); }
    static Register interleave_low16(Register a, Register b) { return _mm_unpacklo_epi16(a, b); }
    static Register interleave_high16(Register a, Register b) { return _mm_unpackhi_epi16(a, b); }
    static Register equal32(Register a, Register b) { return _mm_cmpeq_epi32(a, b); }
    static Register select(Register mask, Register if_set, Register otherwise) {
        return _mm_or_si128(_mm_and_si128(mask, if_set), _mm_andnot_si128(mask, otherwise));
    }
    // Blue + green + red of each pixel, in its 32-bit lane.
    static Register byte_sum(Register t) {
        const Register low_byte = _mm_set1_epi32(0xFF);
        return _mm_add_epi32(
            _mm_add_epi32(_mm_and_si128(t, low_byte), _mm_and_si128(_mm_srli_epi32(t, 8), low_byte)),
            _mm_and_si128(_mm_srli_epi32(t, 16), low_byte));
    }
};

} // namespace

void blend_row_sse2(const int8_t* relief, Pixel* target, int width, int level) {
    blend_vector_row<Sse2>(relief, target, width, level);
}

} // namespace kelvox
#endif
