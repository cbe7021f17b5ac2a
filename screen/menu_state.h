#pragma once
// What several parts of the menu read and change: the five settings, the layout of the current screen
// build, and where the reader is (the section chosen, the entry shown, whether the list and the panel
// stand). Everything else a part keeps to itself.
#include <QString>

#include <cstdint>

namespace kelvox {

// The five settings the registry keeps, and the Windows 95 test made at start. All start off and
// empty, as in a freshly allocated window.
struct MenuSettings {
    bool full_screen = false;
    bool animations = false;
    bool show_taskbar = false;
    QString wallpaper;
    bool sound = false;
    bool is_win95 = false;
};

// The areas the keyboard moves among with Tab, in that order.
enum class KeyboardArea : uint8_t { SectionBar, EntryList, DetailPanel, SettingsDrawer };

struct MenuState : MenuSettings {
    // The disc's root, every file of the disc is named from it.
    QString program_dir;
    bool music_ready = false;

    uint16_t layout_width = 0;
    uint16_t layout_height = 0;
    uint16_t content_top = 0;
    bool settings_open = false;

    uint16_t selected_section = 0;
    QString selected_section_name;
    // Index of the entry whose description the detail panel shows. "None" is a value no entry can
    // have, so that every entry of a long section can be shown.
    static constexpr int kNoEntryShown = -1;
    int shown_entry = kNoEntryShown;
    // A further press on the shown entry's row starts it; pointer moves away from the row disarm it.
    bool entry_armed = false;
    bool list_shown = false;
    bool panel_shown = false;

    // Where the keyboard is: its area, and the item highlighted there (a section, an entry of the
    // selected section, a row of the settings drawer), or kNoKeyboardItem.
    static constexpr int kNoKeyboardItem = -1;
    KeyboardArea keyboard_area = KeyboardArea::SectionBar;
    int keyboard_item = kNoKeyboardItem;

    // The one pause counter of the list's change and of the ticker strip's wipe after an unpack run:
    // the two count on it together when they run at once.
    uint8_t delay_ticks = 0;
};

} // namespace kelvox
