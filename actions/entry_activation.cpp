#include "actions/entry_activation.h"

#include "app/tform1.h"
#include "catalogue/catalogue_loading.h"
#include "catalogue/entry_action.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"

namespace kelvox {

EntryFileParts split_entry_file(const QString& exe_path) {
    const qsizetype cut =
        std::max(exe_path.lastIndexOf(QLatin1Char('\\')), exe_path.lastIndexOf(QLatin1Char(':')));
    return {exe_path.left(cut + 1), exe_path.mid(cut + 1)};
}

void EntryActivation::listazaznakMouseDown() {
    const int pressed = form_.entry_list.hovered_entry();
    if (pressed == form_.shown_entry) {
        // Without the arming the pointer has left the row and come back: nothing happens.
        if (form_.entry_armed)
            activate_entry(pressed);
        return;
    }
    select_entry(pressed);
}

void EntryActivation::select_entry(int index) {
    form_.entry_armed = true;
    form_.shown_entry = index;
    form_.screenzaznak.Hide();
    const CatalogueEntry& entry = form_.catalogue.entry(form_.section_bar.selected_section, index);
    try {
        load_entry_description(form_.parser, form_.description, form_.program_dir, entry.path);
    } catch (const PlatformError& error) {
        // The panel still comes up, with whatever the description holds.
        form_.services.messages.show(error.message());
    }
    form_.timer1.SetOnTimer({});
    DetailPanel& panel = form_.detail_panel;
    // The buttons count pictures from the shown one: a new entry starts at its first, or an arrow
    // pressed during its fade would step from a picture of the previous entry's list.
    panel.current_picture = 0;
    if (form_.panel_shown && form_.animations) {
        panel.panel_level = DetailPanel::kFullLevel;
        panel.install_hide();
    } else {
        panel.panel_level = 0;
        panel.install_show();
    }
}

void EntryActivation::activate_entry(int index) {
    const CatalogueEntry& entry = form_.catalogue.entry(form_.section_bar.selected_section, index);
    const EntryFileParts parts = split_entry_file(entry.exe_path);
    const QString directory = form_.program_dir + QLatin1Char('\\') + parts.directory;
    switch (entry_action(entry.exe_path)) {
    case EntryAction::Program:
        start_program(directory, parts.file);
        break;
    case EntryAction::Unpack:
        form_.unpack_run.unpack_entry(entry);
        break;
    case EntryAction::Open:
        open_document(directory, parts.file);
        break;
    }
}

void EntryActivation::start_program(const QString& directory, const QString& file) {
    set_current_directory(directory);
    try {
        // A program that cannot be started is passed over in silence, as the shell's own start would.
        form_.services.launcher.start_program(file, directory);
    } catch (const PlatformError& error) {
        // A Windows program on a system with nothing to run it: the user must know why nothing starts.
        form_.services.messages.show(error.message());
    }
}

void EntryActivation::open_document(const QString& directory, const QString& file) {
    set_current_directory(directory);
    form_.services.launcher.open_document(file, directory);
}

} // namespace kelvox
