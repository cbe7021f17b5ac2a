#pragma once
// The parts of the menu's screen, each with its own pictures and fields; they reach each other through
// this and the window through the view it provides.
#include "screen/detail_panel.h"
#include "screen/entry_list.h"
#include "screen/menu_view.h"
#include "screen/section_bar.h"
#include "screen/ticker.h"
#include "screen/transitions.h"
#include "screen/window_drag.h"

namespace kelvox {

class MenuScreen {
public:
    explicit MenuScreen(MenuView& view)
        : section_bar(view, *this), entry_list(view), detail_panel(view), transitions(view, *this),
          ticker(view), window_drag(view.window) {}
    MenuScreen(const MenuScreen&) = delete;
    MenuScreen& operator=(const MenuScreen&) = delete;

    SectionBar section_bar;
    EntryList entry_list;
    DetailPanel detail_panel;
    Transitions transitions;
    Ticker ticker;
    WindowDrag window_drag;

    // Every part's pictures go, so that a late handler draws nothing instead of touching freed memory.
    void release() {
        section_bar.release();
        entry_list.release();
        detail_panel.release();
        ticker.release();
    }
};

} // namespace kelvox
