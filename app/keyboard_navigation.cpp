#include "app/keyboard_navigation.h"

#include "actions/menu_actions.h"
#include "app/settings_drawer.h"
#include "catalogue/catalogue.h"
#include "platform/form.h"
#include "screen/menu_screen.h"

#include <algorithm>

namespace kelvox {

namespace {

constexpr KeyboardArea kAreas[] = {KeyboardArea::SectionBar, KeyboardArea::EntryList,
                                   KeyboardArea::DetailPanel, KeyboardArea::SettingsDrawer};
constexpr int kAreaCount = static_cast<int>(std::size(kAreas));
constexpr int kNone = MenuState::kNoKeyboardItem;

bool moves_in_list(int key) {
    return key == kVirtualKeyDown || key == kVirtualKeyUp || key == kVirtualKeyPageDown ||
           key == kVirtualKeyPageUp || key == kVirtualKeyHome || key == kVirtualKeyEnd;
}

bool is_press(int key) {
    return key == kVirtualKeyReturn || key == kVirtualKeySpace;
}

} // namespace

void KeyboardNavigation::FormKeyDown(int key, ShiftState shift) {
    if (view_.window_closed())
        return;
    if (key == kVirtualKeyTab) {
        move_to_next_area((shift & kShiftKey) != 0 ? -1 : 1);
        return;
    }
    switch (view_.state.keyboard_area) {
    case KeyboardArea::SectionBar:
        section_bar_key(key);
        break;
    case KeyboardArea::EntryList:
        entry_list_key(key);
        break;
    case KeyboardArea::DetailPanel:
        detail_panel_key(key);
        break;
    case KeyboardArea::SettingsDrawer:
        settings_drawer_key(key);
        break;
    }
}

bool KeyboardNavigation::area_on_screen(KeyboardArea area) const {
    switch (area) {
    case KeyboardArea::EntryList:
        return view_.state.list_shown;
    case KeyboardArea::DetailPanel:
        return view_.state.panel_shown && view_.state.shown_entry != MenuState::kNoEntryShown;
    default:
        return true;
    }
}

void KeyboardNavigation::move_to_next_area(int direction) {
    const auto* current = std::find(std::begin(kAreas), std::end(kAreas), view_.state.keyboard_area);
    int index = static_cast<int>(current - std::begin(kAreas));
    do
        index = (index + direction + kAreaCount) % kAreaCount;
    while (!area_on_screen(kAreas[index]));
    leave_area();
    enter_area(kAreas[index]);
}

// An area's highlight shows only while the keyboard is there.
void KeyboardNavigation::leave_area() {
    switch (view_.state.keyboard_area) {
    case KeyboardArea::SectionBar:
        screen_.section_bar.hide_highlight();
        break;
    case KeyboardArea::EntryList:
        screen_.entry_list.hide_row_highlight();
        break;
    case KeyboardArea::DetailPanel:
        break;
    case KeyboardArea::SettingsDrawer:
        if (view_.state.settings_open)
            drawer_.collapse_settings();
        break;
    }
}

// An area is reached with nothing highlighted in it; the drawer opens.
void KeyboardNavigation::enter_area(KeyboardArea area) {
    if (area == KeyboardArea::SectionBar)
        screen_.section_bar.hide_highlight();
    else if (area == KeyboardArea::EntryList)
        screen_.entry_list.hide_row_highlight();
    else if (area == KeyboardArea::SettingsDrawer)
        drawer_.ustawieniaMouseMove();
    move_focus(area, kNone);
}

void KeyboardNavigation::move_focus(KeyboardArea area, int item) {
    view_.state.keyboard_area = area;
    view_.state.keyboard_item = item;
    // A screen reader speaks the section, entry or row the keyboard reached.
    view_.window.AnnounceFocus();
}

void KeyboardNavigation::section_bar_key(int key) {
    const int count = view_.catalogue.section_count();
    const int item = view_.state.keyboard_item;
    if (count == 0)
        return;
    if (key == kVirtualKeyRight || key == kVirtualKeyLeft) {
        const int step = key == kVirtualKeyRight ? 1 : -1;
        const int section = item == kNone ? 0 : std::clamp(item + step, 0, count - 1);
        screen_.section_bar.highlight_section(section);
        move_focus(KeyboardArea::SectionBar, section);
    } else if (is_press(key) && item != kNone) {
        screen_.section_bar.hide_highlight();
        screen_.section_bar.select_section(item);
        move_focus(KeyboardArea::EntryList, kNone);
    }
}

int KeyboardNavigation::entry_list_target(int key, int entry) const {
    const EntryList& list = screen_.entry_list;
    const int last = list.entry_count() - 1;
    if (key == kVirtualKeyHome)
        return 0;
    if (key == kVirtualKeyEnd)
        return last;
    if (entry == kNone)
        return list.first_visible();
    switch (key) {
    case kVirtualKeyDown:
        return std::min(entry + 1, last);
    case kVirtualKeyUp:
        return std::max(entry - 1, 0);
    case kVirtualKeyPageDown:
        return std::min(entry + EntryList::kMaxRows, last);
    default: // kVirtualKeyPageUp
        return std::max(entry - EntryList::kMaxRows, 0);
    }
}

void KeyboardNavigation::entry_list_key(int key) {
    EntryList& list = screen_.entry_list;
    const int item = view_.state.keyboard_item;
    if (!view_.state.list_shown || !list.rows_live() || list.entry_count() == 0)
        return;
    if (key == kVirtualKeyReturn) {
        if (item != kNone)
            actions_.entry_activation.press_entry(item);
        return;
    }
    if (!moves_in_list(key))
        return;
    const int target = entry_list_target(key, std::min(item, list.entry_count() - 1));
    // Moving the highlight disarms the entry, as the pointer leaving its row does.
    if (target != item)
        view_.state.entry_armed = false;
    list.highlight_entry(target);
    move_focus(KeyboardArea::EntryList, target);
}

void KeyboardNavigation::detail_panel_key(int key) {
    if (!area_on_screen(KeyboardArea::DetailPanel))
        return;
    PanelButtons& buttons = actions_.panel_buttons;
    if (key == kVirtualKeyLeft)
        buttons.show_previous_picture();
    else if (key == kVirtualKeyRight)
        buttons.show_next_picture();
    else if (key == kVirtualKeyReturn)
        buttons.run_entry();
    else if (key == kVirtualKeySpace)
        buttons.view_picture();
}

void KeyboardNavigation::settings_drawer_key(int key) {
    if (key == kVirtualKeyEscape) {
        leave_area();
        enter_area(KeyboardArea::SectionBar);
        return;
    }
    const bool moves = key == kVirtualKeyDown || key == kVirtualKeyUp;
    const int item = view_.state.keyboard_item;
    if (!moves && !(is_press(key) && item != kNone))
        return;
    // The pointer may have closed it meanwhile.
    if (!view_.state.settings_open)
        drawer_.ustawieniaMouseMove();
    if (moves) {
        const int last = SettingsDrawer::row_count() - 1;
        const int row = key == kVirtualKeyDown ? (item == kNone ? 0 : std::min(item + 1, last))
                                               : (item == kNone ? last : std::max(item - 1, 0));
        drawer_.show_key_row(row);
        move_focus(KeyboardArea::SettingsDrawer, row);
        return;
    }
    drawer_.act_on_row(item);
    // A row that rebuilt the screen closed the drawer; the next key opens it again.
    if (view_.state.settings_open)
        drawer_.show_key_row(item);
}

} // namespace kelvox
