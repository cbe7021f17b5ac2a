#include "platform/qt/qt_form_accessibility.h"

#include "platform/qt/qt_drawn_accessible.h"

#include <QAccessibleEvent>
#include <QMetaObject>
#include <QWidget>

#include <utility>

namespace kelvox {

namespace {

const AccessibleNode* node_in(const std::vector<AccessibleNode>& nodes, const NodePath& path) {
    const std::vector<AccessibleNode>* level = &nodes;
    const AccessibleNode* node = nullptr;
    for (int index : path) {
        if (index < 0 || index >= static_cast<int>(level->size()))
            return nullptr;
        node = &(*level)[static_cast<std::size_t>(index)];
        level = &node->children;
    }
    return node;
}

// The place holds the same control in both trees: every node down to it is there with the same role
// and name. A reader that knew the place's interface may go on using it.
bool same_place(const std::vector<AccessibleNode>& before, const std::vector<AccessibleNode>& after,
                const NodePath& path) {
    NodePath prefix;
    for (int index : path) {
        prefix.push_back(index);
        const AccessibleNode* old_node = node_in(before, prefix);
        const AccessibleNode* new_node = node_in(after, prefix);
        if (old_node == nullptr || new_node == nullptr || old_node->role != new_node->role ||
            old_node->name != new_node->name)
            return false;
    }
    return !path.empty();
}

bool find_focused(const std::vector<AccessibleNode>& nodes, NodePath& path) {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        path.push_back(static_cast<int>(i));
        if (nodes[i].states.focused || find_focused(nodes[i].children, path))
            return true;
        path.pop_back();
    }
    return false;
}

void tell(QAccessibleInterface* iface, QAccessible::Event type) {
    if (iface == nullptr)
        return;
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

QAccessible::State changed_states(const AccessibleStates& before, const AccessibleStates& after) {
    QAccessible::State changed;
    changed.selected = before.selected != after.selected;
    changed.checked = before.checked != after.checked;
    changed.focused = before.focused != after.focused;
    return changed;
}

} // namespace

QtFormAccessibility::QtFormAccessibility(QWidget& window) : window_(window) {
    install_form_accessible_factory();
}

QtFormAccessibility::~QtFormAccessibility() {
    for (const auto& [path, id] : interfaces_)
        QAccessible::deleteAccessibleInterface(id);
}

void QtFormAccessibility::SetSource(AccessibleTreeSource source) {
    source_ = std::move(source);
    // Without a reader nothing asks for the tree: it is built when one first looks at the window.
    if (looked_at_)
        Refresh();
}

const AccessibleNode* QtFormAccessibility::NodeAt(const NodePath& path) const {
    return node_in(nodes_, path);
}

QAccessibleInterface* QtFormAccessibility::InterfaceFor(const NodePath& path) {
    if (NodeAt(path) == nullptr)
        return nullptr;
    const auto known = interfaces_.find(path);
    if (known != interfaces_.end())
        return QAccessible::accessibleInterface(known->second);
    auto* iface = new QtDrawnNodeAccessible(*this, path);
    interfaces_[path] = QAccessible::registerAccessibleInterface(iface);
    return iface;
}

NodePath QtFormAccessibility::FocusedPath() const {
    NodePath path;
    if (!find_focused(nodes_, path))
        path.clear();
    return path;
}

void QtFormAccessibility::ForgetInterface(const NodePath& path) {
    const auto known = interfaces_.find(path);
    if (known == interfaces_.end())
        return;
    const QAccessible::Id id = known->second;
    interfaces_.erase(known);
    QAccessible::deleteAccessibleInterface(id);
}

void QtFormAccessibility::Refresh() {
    refresh_pending_ = false;
    std::vector<AccessibleNode> fresh = source_ ? source_() : std::vector<AccessibleNode>{};
    TellRemoved(fresh);
    const std::vector<AccessibleNode> old_nodes = std::exchange(nodes_, std::move(fresh));
    TellStateChanges(old_nodes);
    if (looked_at_)
        TellAdded(old_nodes, {}, nodes_);
}

// Told while the old tree still answers for the interfaces, so that a reader learns which parent lost
// them; then they go.
void QtFormAccessibility::TellRemoved(const std::vector<AccessibleNode>& fresh) {
    std::vector<NodePath> gone;
    for (const auto& [path, id] : interfaces_)
        if (!same_place(nodes_, fresh, path))
            gone.push_back(path);
    for (const NodePath& path : gone)
        tell(QAccessible::accessibleInterface(interfaces_[path]), QAccessible::ObjectDestroyed);
    for (const NodePath& path : gone)
        ForgetInterface(path);
}

void QtFormAccessibility::TellStateChanges(const std::vector<AccessibleNode>& old_nodes) {
    for (const auto& [path, id] : interfaces_) {
        const AccessibleNode* before = node_in(old_nodes, path);
        const AccessibleNode* after = NodeAt(path);
        if (before == nullptr || after == nullptr || before->states == after->states)
            continue;
        QAccessibleStateChangeEvent event(QAccessible::accessibleInterface(id),
                                          changed_states(before->states, after->states));
        QAccessible::updateAccessibility(&event);
    }
}

// New controls are told under the parents a reader has seen; what lies under a new control the reader
// finds when it reads that control.
void QtFormAccessibility::TellAdded(const std::vector<AccessibleNode>& old_nodes, const NodePath& parent,
                                    const std::vector<AccessibleNode>& children) {
    for (std::size_t i = 0; i < children.size(); ++i) {
        NodePath path = parent;
        path.push_back(static_cast<int>(i));
        if (!same_place(old_nodes, nodes_, path))
            tell(InterfaceFor(path), QAccessible::ObjectCreated);
        else if (interfaces_.count(path) != 0)
            TellAdded(old_nodes, path, children[i].children);
    }
}

// Nothing is told here: the window's interface is being made, and no reader has seen a node yet.
void QtFormAccessibility::MarkLookedAt() {
    if (looked_at_)
        return;
    looked_at_ = true;
    if (source_)
        nodes_ = source_();
}

void QtFormAccessibility::ScheduleRefresh() {
    if (!source_ || !looked_at_ || refresh_pending_)
        return;
    refresh_pending_ = true;
    QMetaObject::invokeMethod(
        &window_,
        [this] {
            if (refresh_pending_)
                Refresh();
        },
        Qt::QueuedConnection);
}

void QtFormAccessibility::AnnounceFocus() {
    if (!source_ || (!looked_at_ && !QAccessible::isActive()))
        return;
    Refresh();
    const NodePath path = FocusedPath();
    tell(path.empty() ? QAccessible::queryAccessibleInterface(&window_) : InterfaceFor(path),
         QAccessible::Focus);
}

} // namespace kelvox
