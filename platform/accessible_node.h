#pragma once
// What a screen reader is told about a control a form draws itself: a node of the form's accessibility
// tree. The form asks its owner for the whole tree again whenever the screen may have changed, so a
// node is a plain value describing the moment it was made.
#include "platform/geometry.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace kelvox {

enum class AccessibleRole : uint8_t {
    Grouping,
    PageTabList,
    PageTab,
    List,
    ListItem,
    StaticText,
    Button,
    CheckBox,
};

struct AccessibleStates {
    bool selectable = false;
    bool selected = false;
    bool checkable = false;
    bool checked = false;
    // Where the keyboard is; a reader speaks the focused node when the form announces it.
    bool focused = false;
    // Not on screen now (a list's row scrolled away, a closed drawer's row): its bounds are empty.
    bool offscreen = false;
    friend bool operator==(const AccessibleStates&, const AccessibleStates&) = default;
};

struct AccessibleNode {
    AccessibleRole role = AccessibleRole::Grouping;
    // What a reader speaks first: the text the screen shows for the control.
    QString name;
    // What it may read on request after the name.
    QString text;
    // In the form's client pixels.
    Rect bounds;
    AccessibleStates states;
    std::vector<AccessibleNode> children;
};

// The form's drawn controls as a reader should see them, top-level nodes first to last.
using AccessibleTreeSource = std::function<std::vector<AccessibleNode>()>;

} // namespace kelvox
