#include "screen/detail_panel.h"

#include "app/tform1.h"

namespace kelvox {

void DetailPanel::clear_panel() {
    form_.panelek.Canvas().CopyFrom(0, 0, form_.tlo.Surface(), Rect::sized(200, 86, 550, 350));
    form_.panelek.Repaint();
}

} // namespace kelvox
