#include "actions/panel_buttons.h"

#include "actions/screenshot_viewer.h"
#include "app/tform1.h"
#include "platform/files.h"
#include "platform/message_boxes.h"
#include "platform/modal_runner.h"
#include "platform/screen.h"

namespace kelvox {

namespace {
bool between(int value, int low, int high) {
    return low < value && value < high;
}
} // namespace

void PanelButtons::panelekMouseDown(int x, int y) {
    DetailPanel& panel = form_.detail_panel;
    const bool has_pictures = form_.description.picture_loaded;
    const int count = static_cast<int>(form_.description.picture_names.size());
    const int numbers_x = panel.picture_numbers_x;

    if (between(y, 270, 287) && between(x, numbers_x, numbers_x + 16 * count)) {
        if (has_pictures) {
            panel.current_picture = static_cast<uint8_t>((x - numbers_x) / 16);
            redraw();
        }
    } else if (between(y, 164, 177) && between(x, 71, 87)) {
        if (has_pictures && panel.current_picture > 0) {
            --panel.current_picture;
            redraw();
        }
    } else if (between(y, 164, 177) && between(x, 315, 332)) {
        if (has_pictures && panel.current_picture < count - 1) {
            ++panel.current_picture;
            redraw();
        }
    } else if (between(y, 82, 259) && between(x, 88, 314)) {
        if (has_pictures)
            open_viewer();
    } else if (between(y, 320, 334) && between(x, 134, 259)) {
        if (form_.shown_entry != TForm1::kNoEntryShown)
            form_.entry_activation.activate_entry(form_.shown_entry);
    }
}

void PanelButtons::redraw() {
    DetailPanel& panel = form_.detail_panel;
    const QString& program_dir = form_.program_dir;
    set_current_directory(program_dir.size() < 3 ? program_dir + QLatin1Char('\\') : program_dir);
    try {
        form_.jpeg_picture.load_from_file(form_.description.picture_names.at(panel.current_picture));
    } catch (const PlatformError& error) {
        form_.services.messages.show(error.message());
        return;
    }
    form_.picture_bitmap.Assign(form_.jpeg_picture.image());
    panel.copy_background_to_backdrop();
    panel.draw_picture();
    panel.blend_backdrop(panel.panel_level);
    panel.draw_picture_numbers();
    panel.show_backdrop();
    form_.screenzaznak.SetLeft(form_.panelek.Left() + panel.picture_numbers_x + 16 * panel.current_picture -
                               1);
}

void PanelButtons::open_viewer() {
    TForm2 viewer;
    Bitmap picture;
    picture.Assign(form_.jpeg_picture.image());
    viewer.show_picture(picture, form_.services.screen.Width(), form_.services.screen.Height());
    form_.services.modal.run(viewer);
}

} // namespace kelvox
