#pragma once
// Presses on the detail panel: the picture numbers and arrows switch pictures, the picture opens the
// screenshot viewer, and the zone around the type label starts the entry.
namespace kelvox {

class MenuActions;
class MenuScreen;
struct MenuView;

class PanelButtons {
public:
    PanelButtons(MenuView& view, MenuScreen& screen, MenuActions& actions)
        : view_(view), screen_(screen), actions_(actions) {}

    void panelekMouseDown(int x, int y);

    // What the panel's zones do, for the keyboard too: the picture before or after the one shown, the
    // screenshot viewer on it (each only when the entry has pictures), and the run button.
    void show_previous_picture();
    void show_next_picture();
    void view_picture();
    void run_entry();

private:
    void open_viewer();

    MenuView& view_;
    MenuScreen& screen_;
    MenuActions& actions_;
};

} // namespace kelvox
