#include "screen/panel_blend.h"

#include "platform/bitmap.h"
#include "screen/panel_blend_rows.h"

#include <algorithm>

namespace kelvox {

void panel_blend(const ReliefPlane& relief, Bitmap& target, int level,
                 const std::function<void()>& after_row) {
    const BlendRow blend_row = fastest_blend_row();
    for (int y = 0;; ++y) {
        const int width = std::min(relief.width(), target.Width());
        if (y >= relief.height() || y >= target.Height() || width <= 0)
            return;
        blend_row(relief.row(y), target.ScanLine(y), width, level);
        if (after_row)
            after_row();
    }
}

} // namespace kelvox
