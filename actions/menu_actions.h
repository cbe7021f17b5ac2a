#pragma once
// What the reader's presses on an entry do: its activation, the detail panel's buttons and the unpack
// run. They act on the screen's parts and the window's view.
#include "actions/entry_activation.h"
#include "actions/panel_buttons.h"
#include "actions/unpack_run.h"

namespace kelvox {

class MenuScreen;
struct MenuView;

class MenuActions {
public:
    MenuActions(MenuView& view, MenuScreen& screen)
        : entry_activation(view, screen, *this), panel_buttons(view, screen, *this),
          unpack_run(view, screen) {}
    MenuActions(const MenuActions&) = delete;
    MenuActions& operator=(const MenuActions&) = delete;

    EntryActivation entry_activation;
    PanelButtons panel_buttons;
    UnpackRun unpack_run;
};

} // namespace kelvox
