#pragma once
// The tint of one row on vector registers, written once for every instruction set. V supplies the
// register type, the pixels one register holds (kPixels) and the operations, named after what they do
// to 16- or 32-bit lanes.
//
// Two registers of pixels at a time: the relief offset q (blue byte less 128) and the target's byte sum
// in 32-bit lanes, packed to 16-bit lanes for the arithmetic, unpacked into grey-green pixels. Packing and
// unpacking both stay within 128-bit halves, so the pixels come back in the order they went in.
//   brightness  sum / 3 as the high half of sum × 43691, halved (exact for every sum of three bytes)
//   step        2q × level / 16, truncated toward zero: negatives get 15 added before the shift
//   grey v      brightness + step held to 0 … 245; the pixel becomes blue v, green v + 10, red v
// An offset of 0 (a relief of 128) keeps the target's pixel as it was.
//
// Each kernel's file declares its V in an unnamed namespace, so that every copy of this code stays in
// the file built for its instruction set; the code uses nothing but V, so it pulls no shared inline
// code into a file built for a processor that may not have the instructions.
#include "screen/panel_blend_kernels.h"

namespace kelvox {

template <class V> void blend_vector_row(const int8_t* relief, Pixel* target, int width, int level) {
    using Register = typename V::Register;
    if (level < -kWidestVectorLevel || level > kWidestVectorLevel)
        return blend_row_plain(relief, target, width, level);
    const Register third = V::splat16(static_cast<short>(43691));
    const Register factor = V::splat16(static_cast<short>(level));
    const Register fifteen = V::splat16(15);
    const Register zero = V::splat16(0);
    const Register ceiling = V::splat16(245);
    const Register green_lift = V::splat16(10);
    const Register opaque = V::splat16(static_cast<short>(0xFF00));
    constexpr int n = V::kPixels;
    int x = 0;
    for (; x + 2 * n <= width; x += 2 * n) {
        const Register qa = V::load_offsets(relief + x);
        const Register qb = V::load_offsets(relief + x + n);
        const Register ta = V::load(target + x);
        const Register tb = V::load(target + x + n);
        const Register q = V::pack32(qa, qb);
        const Register sum = V::pack32(V::byte_sum(ta), V::byte_sum(tb));
        const Register brightness = V::template shift_right16<1>(V::multiply_high_unsigned16(sum, third));
        const Register scaled = V::multiply16(V::template shift_left16<1>(q), factor);
        const Register negative = V::template shift_right_signed16<15>(scaled);
        const Register step =
            V::template shift_right_signed16<4>(V::add16(scaled, V::bit_and(negative, fifteen)));
        const Register v = V::min16(V::max16(V::add16(brightness, step), zero), ceiling);
        const Register blue_green = V::bit_or(v, V::template shift_left16<8>(V::add16(v, green_lift)));
        const Register red_alpha = V::bit_or(v, opaque);
        V::store(target + x, V::select(V::equal32(qa, zero), ta, V::interleave_low16(blue_green, red_alpha)));
        V::store(target + x + n,
                 V::select(V::equal32(qb, zero), tb, V::interleave_high16(blue_green, red_alpha)));
    }
    blend_row_plain(relief + x, target + x, width - x, level);
}

} // namespace kelvox
