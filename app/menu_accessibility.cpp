#include "app/menu_accessibility.h"

#include "app/settings_drawer.h"
#include "catalogue/catalogue.h"
#include "catalogue/entry_description.h"
#include "screen/menu_controls.h"
#include "screen/menu_screen.h"
#include "screen/menu_state.h"

namespace kelvox {

const char kMenuAccessibleName[] = "Kelvox Cover menu";

namespace {

AccessibleNode node(AccessibleRole role, const QString& name, const Rect& bounds) {
    AccessibleNode made;
    made.role = role;
    made.name = name;
    made.bounds = bounds;
    return made;
}

// The keyboard's item in its area.
bool keyboard_on(const MenuState& state, KeyboardArea area, int item) {
    return state.keyboard_area == area && state.keyboard_item == item;
}

// An area Tab moves to, focused itself while no item of it is highlighted.
AccessibleNode area(AccessibleRole role, const QString& name, const Rect& bounds, const MenuState& state,
                    KeyboardArea which) {
    AccessibleNode made = node(role, name, bounds);
    made.states.focused = keyboard_on(state, which, MenuState::kNoKeyboardItem);
    return made;
}

AccessibleNode choice(AccessibleRole role, const QString& name, const Rect& bounds, bool selected,
                      bool focused) {
    AccessibleNode item = node(role, name, bounds);
    item.states.selectable = true;
    item.states.selected = selected;
    item.states.focused = focused;
    return item;
}

AccessibleNode section_bar(const MenuAccessibilitySources& menu) {
    const MenuState& state = menu.state;
    const Rect bounds = menu.controls.menu.BoundsRect();
    AccessibleNode bar =
        area(AccessibleRole::PageTabList, QStringLiteral("Sekcje"), bounds, state, KeyboardArea::SectionBar);
    for (int section = 0; section < menu.catalogue.section_count(); ++section)
        bar.children.push_back(choice(AccessibleRole::PageTab, menu.catalogue.section_name(section),
                                      menu.screen.section_bar.section_bounds(section),
                                      state.list_shown && section == state.selected_section,
                                      keyboard_on(state, KeyboardArea::SectionBar, section)));
    return bar;
}

AccessibleNode entry_list(const MenuAccessibilitySources& menu) {
    const MenuState& state = menu.state;
    const Rect bounds = menu.controls.lista.BoundsRect();
    AccessibleNode list =
        area(AccessibleRole::List, state.selected_section_name, bounds, state, KeyboardArea::EntryList);
    const int count = menu.catalogue.entry_count(state.selected_section);
    for (int entry = 0; entry < count; ++entry) {
        const Rect row = menu.screen.entry_list.row_bounds(entry);
        list.children.push_back(
            choice(AccessibleRole::ListItem, menu.catalogue.entry(state.selected_section, entry).name, row,
                   entry == state.shown_entry, keyboard_on(state, KeyboardArea::EntryList, entry)));
        list.children.back().states.offscreen = row.Empty();
    }
    return list;
}

// Wrapped lines read as the paragraph they were wrapped from.
QString paragraph(const QStringList& lines) {
    return lines.join(QLatin1Char(' ')).simplified();
}

AccessibleNode detail_panel(const MenuAccessibilitySources& menu) {
    const EntryDescription& description = menu.description;
    const Rect bounds = menu.controls.panelek.BoundsRect();
    AccessibleNode panel = node(AccessibleRole::Grouping, description.entry_title, bounds);
    for (const QString& text : {description.entry_title, paragraph(description.description_lines),
                                paragraph(description.requirement_lines), description.entry_type})
        panel.children.push_back(node(AccessibleRole::StaticText, text, bounds));
    // The run button is the zone around the type's text.
    AccessibleNode run = node(AccessibleRole::Button, description.entry_type,
                              Rect{135, 321, 259, 334}.Translated(bounds.left, bounds.top));
    run.states.focused = menu.state.keyboard_area == KeyboardArea::DetailPanel;
    panel.children.push_back(run);
    for (int picture = 1; picture <= description.picture_names.size(); ++picture)
        panel.children.push_back(node(AccessibleRole::Button, QString::number(picture),
                                      menu.screen.detail_panel.picture_number_bounds(picture - 1)));
    return panel;
}

AccessibleNode settings_drawer(const MenuAccessibilitySources& menu) {
    const MenuState& state = menu.state;
    const Rect bounds = menu.controls.ustawienia.BoundsRect();
    AccessibleNode drawer = area(AccessibleRole::Grouping, QStringLiteral("Ustawienia"), bounds, state,
                                 KeyboardArea::SettingsDrawer);
    for (int row = 0; row < SettingsDrawer::row_count(); ++row) {
        const bool option = SettingsDrawer::row_is_option(row);
        AccessibleNode item =
            node(option ? AccessibleRole::CheckBox : AccessibleRole::Button, SettingsDrawer::row_caption(row),
                 SettingsDrawer::row_area(row).Translated(bounds.left, bounds.top));
        item.states.offscreen = !state.settings_open;
        item.states.checkable = option;
        item.states.checked = option && menu.drawer.row_ticked(row);
        item.states.focused = keyboard_on(state, KeyboardArea::SettingsDrawer, row);
        drawer.children.push_back(item);
    }
    return drawer;
}

} // namespace

std::vector<AccessibleNode> menu_accessible_tree(const MenuAccessibilitySources& menu) {
    std::vector<AccessibleNode> tree{section_bar(menu)};
    if (menu.state.list_shown)
        tree.push_back(entry_list(menu));
    if (menu.state.panel_shown)
        tree.push_back(detail_panel(menu));
    tree.push_back(settings_drawer(menu));
    return tree;
}

} // namespace kelvox
