#include "actions/entry_activation.h"

#include "actions/menu_actions.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_loading.h"
#include "catalogue/entry_action.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"
#include "platform/services.h"
#include "screen/menu_controls.h"
#include "screen/menu_screen.h"
#include "screen/menu_state.h"

namespace kelvox {

EntryFileParts split_entry_file(const QString& exe_path) {
    const qsizetype cut =
        std::max(exe_path.lastIndexOf(QLatin1Char('\\')), exe_path.lastIndexOf(QLatin1Char(':')));
    return {exe_path.left(cut + 1), exe_path.mid(cut + 1)};
}

void EntryActivation::listazaznakMouseDown() {
    press_entry(screen_.entry_list.hovered_entry());
}

void EntryActivation::press_entry(int pressed) {
    if (pressed == view_.state.shown_entry) {
        // Without the arming the pointer has left the row and come back: nothing happens.
        if (view_.state.entry_armed)
            activate_entry(pressed);
        return;
    }
    select_entry(pressed);
}

void EntryActivation::select_entry(int index) {
    MenuState& state = view_.state;
    state.entry_armed = true;
    state.shown_entry = index;
    view_.controls.screenzaznak.Hide();
    const CatalogueEntry& entry = view_.catalogue.entry(state.selected_section, index);
    try {
        load_entry_description(view_.parser, view_.description, state.program_dir, entry.path);
    } catch (const PlatformError& error) {
        // The panel still comes up, with whatever the description holds.
        view_.services.messages.show(error.message());
    }
    screen_.detail_panel.fade_to_entry();
}

void EntryActivation::activate_entry(int index) {
    const CatalogueEntry& entry = view_.catalogue.entry(view_.state.selected_section, index);
    const EntryFileParts parts = split_entry_file(entry.exe_path);
    const QString directory = view_.state.program_dir + QLatin1Char('\\') + parts.directory;
    switch (entry_action(entry.exe_path)) {
    case EntryAction::Program:
        start_program(directory, parts.file);
        break;
    case EntryAction::Unpack:
        actions_.unpack_run.unpack_entry(entry);
        break;
    case EntryAction::Open:
        open_document(directory, parts.file);
        break;
    }
}

// Both start in the entry's directory, which the launcher makes the started program's own; the menu's
// current directory never changes.
void EntryActivation::start_program(const QString& directory, const QString& file) {
    try {
        // A program that cannot be started is passed over in silence, as the shell's own start would.
        view_.services.launcher.start_program(file, directory);
    } catch (const PlatformError& error) {
        // A Windows program on a system with nothing to run it: the user must know why nothing starts.
        view_.services.messages.show(error.message());
    }
}

void EntryActivation::open_document(const QString& directory, const QString& file) {
    view_.services.launcher.open_document(file, directory);
}

} // namespace kelvox
