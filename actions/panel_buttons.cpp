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
    if (between(y, 270, 287) && panel.picture_number_at(x) >= 0) {
        if (view_.description.picture_loaded)
            panel.show_picture(panel.picture_number_at(x));
    } else if (between(y, 164, 177) && between(x, 71, 87)) {
        show_previous_picture();
    } else if (between(y, 164, 177) && between(x, 315, 332)) {
        show_next_picture();
    } else if (between(y, 82, 259) && between(x, 88, 314)) {
        view_picture();
    } else if (between(y, 320, 334) && between(x, 134, 259)) {
        run_entry();
    }
}

void PanelButtons::show_previous_picture() {
    if (view_.description.picture_loaded)
        screen_.detail_panel.show_previous_picture();
}

void PanelButtons::show_next_picture() {
    if (view_.description.picture_loaded)
        screen_.detail_panel.show_next_picture();
}

void PanelButtons::view_picture() {
    if (view_.description.picture_loaded)
        open_viewer();
}

void PanelButtons::run_entry() {
    const int entry = view_.state.shown_entry;
    if (entry != MenuState::kNoEntryShown)
        actions_.entry_activation.activate_entry(entry);
}

void PanelButtons::open_viewer() {
    TForm2 viewer;
    Bitmap picture;
    picture.Assign(screen_.detail_panel.picture());
    viewer.show_picture(picture, view_.services.screen.width(), view_.services.screen.height());
    view_.services.modal.run(viewer);
}

} // namespace kelvox
