#include "screen/panel_blend.h"

#include "platform/bitmap.h"
#include "screen/panel_blend_rows.h"

#include <algorithm>

namespace kelvox {

void panel_blend(const Bitmap& relief, Bitmap& target, int level, const std::function<void()>& after_row) {
    const BlendRow blend_row = fastest_blend_row();
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
