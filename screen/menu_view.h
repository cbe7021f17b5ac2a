#pragma once
// What the parts of the screen and the actions see of the window: its services, the shared state, its
// controls and timers, and the catalogue with the description being read. The window provides it.
#include <functional>

namespace kelvox {

class Catalogue;
class EntryDescription;
class Form;
class THTMLParser;
class TThreadedTimer;
struct MenuControls;
struct MenuState;
struct Services;

struct MenuView {
    Services& services;
    MenuState& state;
    Form& window;
    MenuControls& controls;
    // The animations' clock, and the ticker strip's.
    TThreadedTimer& timer1;
    TThreadedTimer& scrolltimer;
    THTMLParser& parser;
    Catalogue& catalogue;
    EntryDescription& description;
    // Ends the window's life (the close button); and whether it has ended.
    std::function<void()> close_window;
    std::function<bool()> window_closed;
};

} // namespace kelvox
