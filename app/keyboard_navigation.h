#pragma once
// The menu from the keyboard: Tab and Shift+Tab move among the section bar, the entry list, the detail
// panel and the settings drawer (passing over a list or panel that is not on screen), and each area's
// keys do what the pointer does there, shown with the area's own highlight. No key closes the menu.
#include "platform/keys.h"
#include "screen/menu_state.h"

namespace kelvox {

class MenuActions;
class MenuScreen;
class SettingsDrawer;
struct MenuView;

class KeyboardNavigation {
public:
    KeyboardNavigation(MenuView& view, MenuScreen& screen, MenuActions& actions, SettingsDrawer& drawer)
        : view_(view), screen_(screen), actions_(actions), drawer_(drawer) {}

    void FormKeyDown(int key, ShiftState shift);

private:
    void move_to_next_area(int direction);
    bool area_on_screen(KeyboardArea area) const;
    void leave_area();
    void enter_area(KeyboardArea area);
    // Every change of the keyboard's place goes through here.
    void move_focus(KeyboardArea area, int item);

    void section_bar_key(int key);
    void entry_list_key(int key);
    void detail_panel_key(int key);
    void settings_drawer_key(int key);
    // The entry a list key moves the highlight to, from the one highlighted (or none).
    int entry_list_target(int key, int entry) const;

    MenuView& view_;
    MenuScreen& screen_;
    MenuActions& actions_;
    SettingsDrawer& drawer_;
};

} // namespace kelvox
