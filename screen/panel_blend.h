#pragma once
// The detail panel's tint: the background behind the panel is turned into a grey-green relief of
// itself, lighter or darker by the relief picture's blue byte, scaled by a fade level.
#include "screen/relief_plane.h"

#include <functional>

namespace kelvox {

class Bitmap;

// For each pixel whose relief value p (blue byte) is not 128: the target pixel's brightness m plus
// ((2p − 256) × level) / 16, clamped to 0 … 245, becomes grey v with green v + 10. A relief of 128
// leaves the target alone. after_row runs after every row (the window processes its messages there,
// so input and the other timers are served while a frame is tinted); the sizes are looked at again
// after it, so a handler that resizes or releases either picture ends the tint instead of corrupting it.
void panel_blend(const ReliefPlane& relief, Bitmap& target, int level,
                 const std::function<void()>& after_row = {});

} // namespace kelvox
