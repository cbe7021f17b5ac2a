#include "actions/panel_buttons.h"

#include "actions/menu_actions.h"
#include "actions/screenshot_viewer.h"
#include "catalogue/entry_description.h"
#include "platform/bitmap.h"
#include "platform/modal_runner.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "screen/menu_screen.h"
#include "screen/menu_state.h"

namespace kelvox {

namespace {
bool between(int value, int low, int high) {
    return low < value && value < high;
}
} // namespace

void PanelButtons::panelekMouseDown(int x, int y) {
    DetailPanel& panel = screen_.detail_panel;
    const bool has_pictures = view_.description.picture_loaded;

    if (between(y, 270, 287) && panel.picture_number_at(x) >= 0) {
        if (has_pictures)
            panel.show_picture(panel.picture_number_at(x));
    } else if (between(y, 164, 177) && between(x, 71, 87)) {
        if (has_pictures)
            panel.show_previous_picture();
    } else if (between(y, 164, 177) && between(x, 315, 332)) {
        if (has_pictures)
            panel.show_next_picture();
    } else if (between(y, 82, 259) && between(x, 88, 314)) {
        if (has_pictures)
            open_viewer();
    } else if (between(y, 320, 334) && between(x, 134, 259)) {
        const int entry = view_.state.shown_entry;
        if (entry != MenuState::kNoEntryShown)
            actions_.entry_activation.activate_entry(entry);
    }
}

void PanelButtons::open_viewer() {
    TForm2 viewer;
    Bitmap picture;
    picture.Assign(screen_.detail_panel.picture());
    viewer.show_picture(picture, view_.services.screen.width(), view_.services.screen.height());
    view_.services.modal.run(viewer);
}

} // namespace kelvox
