#pragma once
// The tint's row kernels, each built in the file for its instruction set (the wide ones with their own
// compiler options, so that nothing else is built for a processor that may not have them).
#include "platform/pixel.h"

#include <cstdint>

namespace kelvox {

// The vector kernels work in 16-bit lanes: (2p − 256) × level fits them while |level| ≤ 127, far
// beyond the 0 … 17 a fade uses. Outside that they hand the whole row to the plain kernel.
constexpr int kWidestVectorLevel = 127;

void blend_row_plain(const int8_t* relief, Pixel* target, int width, int level);

#if defined(__x86_64__) || defined(_M_X64)
#define KELVOX_BLEND_SSE2 1
void blend_row_sse2(const int8_t* relief, Pixel* target, int width, int level);
#endif

// Set by the build where the compiler can build the AVX2 and AVX-512 files and tell at run time whether the
// processor has it.
#if defined(KELVOX_BLEND_AVX2)
void blend_row_avx2(const int8_t* relief, Pixel* target, int width, int level);
#endif
#if defined(KELVOX_BLEND_AVX512)
void blend_row_avx512(const int8_t* relief, Pixel* target, int width, int level);
#endif

} // namespace kelvox
