#pragma once
// The row kernels behind the panel's tint. Every kernel gives the same pixels; the wide ones exist
// because the tint runs over the whole panel on every frame of a fade. They are listed so that each
// one the processor can run is checked against the same expectations.
#include "platform/bitmap.h"

#include <cstdint>

#include <vector>

namespace kelvox {

// relief: the row of the relief plane (blue bytes less 128).
using BlendRow = void (*)(const int8_t* relief, Pixel* target, int width, int level);

struct BlendRowKernel {
    const char* name;
    BlendRow row;
};

// The plain kernel first, then the vector kernels this processor can run, narrowest first.
std::vector<BlendRowKernel> runnable_blend_rows();

// The widest runnable kernel, chosen once.
BlendRow fastest_blend_row();

} // namespace kelvox
