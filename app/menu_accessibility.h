#pragma once
// The menu as a screen reader hears it: the section bar's sections as page tabs, the chosen section's
// entries as a list (all of them, not only the rows on screen), the detail panel's texts and buttons,
// and the settings drawer's rows, in the Polish the screen shows, with the keyboard's place focused.
#include "platform/accessible_node.h"

#include <vector>

namespace kelvox {

class Catalogue;
class EntryDescription;
class MenuScreen;
class SettingsDrawer;
struct MenuControls;
struct MenuState;

struct MenuAccessibilitySources {
    const MenuState& state;
    const Catalogue& catalogue;
    const EntryDescription& description;
    const MenuControls& controls;
    const SettingsDrawer& drawer;
    const MenuScreen& screen;
};

// What a reader hears the window called; its caption stays the short one.
extern const char kMenuAccessibleName[];

std::vector<AccessibleNode> menu_accessible_tree(const MenuAccessibilitySources& menu);

} // namespace kelvox
