#pragma once
// A form's drawn controls for screen readers (layer-internal): the tree its owner provides, as readers
// were last told it, and the Qt interfaces standing for its nodes. A node's interface is known by the
// node's place in the tree; it lives until that place holds another control (another role or name) or
// none, and readers are told when that happens, so none of them keeps a stale child.
#include "platform/accessible_node.h"

#include <QAccessible>

#include <map>
#include <vector>

class QAccessibleInterface;
class QWidget;

namespace kelvox {

// Child indices from the form's top-level nodes down.
using NodePath = std::vector<int>;

class QtFormAccessibility {
public:
    explicit QtFormAccessibility(QWidget& window);
    ~QtFormAccessibility();
    QtFormAccessibility(const QtFormAccessibility&) = delete;
    QtFormAccessibility& operator=(const QtFormAccessibility&) = delete;

    void SetSource(AccessibleTreeSource source);
    // Re-reads the tree and tells readers what changed.
    void Refresh();
    // A Refresh once the event being handled is done, when a reader has looked at the window; the many
    // repaints of one change make one.
    void ScheduleRefresh();
    // Refresh, then the focus event for the node marked focused (the window itself when none is).
    void AnnounceFocus();

    // --- for the interfaces ---
    QWidget& Window() const { return window_; }
    // A reader asked for the window's interface: the tree is read for it, and from now on changes are
    // told.
    void MarkLookedAt();
    const std::vector<AccessibleNode>& TopNodes() const { return nodes_; }
    // Null when the tree has no node there.
    const AccessibleNode* NodeAt(const NodePath& path) const;
    // The node's interface, registered with Qt on first use; null when the tree has no node there.
    QAccessibleInterface* InterfaceFor(const NodePath& path);
    // The first node marked focused, depth first; empty when none is.
    NodePath FocusedPath() const;

private:
    void ForgetInterface(const NodePath& path);
    void TellRemoved(const std::vector<AccessibleNode>& fresh);
    void TellStateChanges(const std::vector<AccessibleNode>& old_nodes);
    void TellAdded(const std::vector<AccessibleNode>& old_nodes, const NodePath& parent,
                   const std::vector<AccessibleNode>& children);

    QWidget& window_;
    AccessibleTreeSource source_;
    std::vector<AccessibleNode> nodes_;
    std::map<NodePath, QAccessible::Id> interfaces_;
    bool looked_at_ = false;
    bool refresh_pending_ = false;
};

} // namespace kelvox
