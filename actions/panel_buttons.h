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

private:
    void open_viewer();

    MenuView& view_;
    MenuScreen& screen_;
    MenuActions& actions_;
};

} // namespace kelvox
