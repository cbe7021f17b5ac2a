#pragma once
// Presses on the detail panel: the picture numbers and arrows switch pictures, the picture opens the
// screenshot viewer, and the zone around the type label starts the entry.
namespace kelvox {

class TForm1;

class PanelButtons {
public:
    explicit PanelButtons(TForm1& form) : form_(form) {}

    void panelekMouseDown(int x, int y);

private:
    // Loads the current picture and draws the panel anew at the level its fade reached.
    void redraw();
    void open_viewer();

    TForm1& form_;
};

} // namespace kelvox
