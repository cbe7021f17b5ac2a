#include "platform/qt/qt_drawn_accessible.h"

#include "platform/qt/qt_form_window.h"

#include <QAccessibleWidget>
#include <QWindow>

namespace kelvox {

namespace {

QRect on_screen(const QWidget& window, const Rect& bounds) {
    return {window.mapToGlobal(QPoint(bounds.left, bounds.top)), QSize(bounds.Width(), bounds.Height())};
}

// The last of the nodes whose bounds hold the screen point: later controls are drawn over earlier ones.
int node_index_at(const QWidget& window, const std::vector<AccessibleNode>& nodes, int x, int y) {
    for (int i = static_cast<int>(nodes.size()) - 1; i >= 0; --i)
        if (on_screen(window, nodes[static_cast<std::size_t>(i)].bounds).contains(x, y))
            return i;
    return -1;
}

QAccessible::Role qt_role(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::Grouping:
        return QAccessible::Grouping;
    case AccessibleRole::PageTabList:
        return QAccessible::PageTabList;
    case AccessibleRole::PageTab:
        return QAccessible::PageTab;
    case AccessibleRole::List:
        return QAccessible::List;
    case AccessibleRole::ListItem:
        return QAccessible::ListItem;
    case AccessibleRole::StaticText:
        return QAccessible::StaticText;
    case AccessibleRole::Button:
        return QAccessible::Button;
    case AccessibleRole::CheckBox:
        return QAccessible::CheckBox;
    }
    return QAccessible::NoRole;
}

bool takes_keyboard(AccessibleRole role) {
    return role != AccessibleRole::Grouping && role != AccessibleRole::StaticText;
}

// The form window: its drawn controls first, then the dialog widgets on it.
class FormWindowAccessible : public QAccessibleWidget {
public:
    // Qt makes this interface for every window that shows, reader or not: the drawn tree is built when
    // something first asks for what the window holds, not here.
    explicit FormWindowAccessible(QtFormWindow* window) : QAccessibleWidget(window, QAccessible::Window) {}

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name && isValid()) {
            const QString& name = static_cast<QtFormWindow*>(widget())->ReaderName();
            if (!name.isEmpty())
                return name;
        }
        return QAccessibleWidget::text(type);
    }

    int childCount() const override { return drawn_count() + QAccessibleWidget::childCount(); }

    QAccessibleInterface* child(int index) const override {
        if (index >= 0 && index < drawn_count())
            return accessibility()->InterfaceFor({index});
        return QAccessibleWidget::child(index - drawn_count());
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* drawn = dynamic_cast<const QtDrawnNodeAccessible*>(child);
        if (drawn != nullptr)
            return accessibility() != nullptr && drawn->Belongs(*accessibility()) && drawn->Path().size() == 1
                       ? drawn->Path().front()
                       : -1;
        const int index = QAccessibleWidget::indexOfChild(child);
        return index < 0 ? index : index + drawn_count();
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        if (QAccessibleInterface* widget_child = QAccessibleWidget::childAt(x, y))
            return widget_child;
        QtFormAccessibility* drawn = accessibility();
        if (drawn == nullptr)
            return nullptr;
        const int index = node_index_at(*widget(), drawn->TopNodes(), x, y);
        return index < 0 ? nullptr : drawn->InterfaceFor({index});
    }

    QAccessibleInterface* focusChild() const override {
        QtFormAccessibility* drawn = accessibility();
        if (drawn != nullptr && !drawn->FocusedPath().empty())
            return drawn->InterfaceFor(drawn->FocusedPath());
        return QAccessibleWidget::focusChild();
    }

private:
    QtFormAccessibility* accessibility() const {
        QtFormAccessibility* drawn =
            isValid() ? static_cast<QtFormWindow*>(widget())->accessibility() : nullptr;
        if (drawn != nullptr)
            drawn->MarkLookedAt();
        return drawn;
    }
    int drawn_count() const {
        return accessibility() != nullptr ? static_cast<int>(accessibility()->TopNodes().size()) : 0;
    }
};

QAccessibleInterface* form_window_factory(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String(QtFormWindow::staticMetaObject.className()))
        return new FormWindowAccessible(static_cast<QtFormWindow*>(object));
    return nullptr;
}

} // namespace

void install_form_accessible_factory() {
    static const bool installed = [] {
        QAccessible::installFactory(form_window_factory);
        return true;
    }();
    (void)installed;
}

bool QtDrawnNodeAccessible::isValid() const {
    return node() != nullptr;
}

QWindow* QtDrawnNodeAccessible::window() const {
    return owner_.Window().windowHandle();
}

QAccessibleInterface* QtDrawnNodeAccessible::parent() const {
    if (path_.size() <= 1)
        return QAccessible::queryAccessibleInterface(&owner_.Window());
    return owner_.InterfaceFor(NodePath(path_.begin(), path_.end() - 1));
}

QAccessibleInterface* QtDrawnNodeAccessible::child(int index) const {
    NodePath path = path_;
    path.push_back(index);
    return owner_.InterfaceFor(path);
}

int QtDrawnNodeAccessible::childCount() const {
    return node() != nullptr ? static_cast<int>(node()->children.size()) : 0;
}

int QtDrawnNodeAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* drawn = dynamic_cast<const QtDrawnNodeAccessible*>(child);
    if (drawn == nullptr || !drawn->Belongs(owner_) || drawn->path_.size() != path_.size() + 1 ||
        !std::equal(path_.begin(), path_.end(), drawn->path_.begin()))
        return -1;
    return drawn->path_.back();
}

QAccessibleInterface* QtDrawnNodeAccessible::childAt(int x, int y) const {
    if (node() == nullptr)
        return nullptr;
    const int index = node_index_at(owner_.Window(), node()->children, x, y);
    return index < 0 ? nullptr : child(index);
}

QString QtDrawnNodeAccessible::text(QAccessible::Text type) const {
    if (node() == nullptr)
        return {};
    if (type == QAccessible::Name)
        return node()->name;
    if (type == QAccessible::Description)
        return node()->text;
    return {};
}

QRect QtDrawnNodeAccessible::rect() const {
    return node() != nullptr ? on_screen(owner_.Window(), node()->bounds) : QRect();
}

QAccessible::Role QtDrawnNodeAccessible::role() const {
    return node() != nullptr ? qt_role(node()->role) : QAccessible::NoRole;
}

QAccessible::State QtDrawnNodeAccessible::state() const {
    QAccessible::State state;
    const AccessibleNode* shown = node();
    if (shown == nullptr) {
        state.invalid = true;
        return state;
    }
    state.focusable = takes_keyboard(shown->role);
    state.focused = shown->states.focused;
    state.selectable = shown->states.selectable;
    state.selected = shown->states.selected;
    state.checkable = shown->states.checkable;
    state.checked = shown->states.checked;
    state.offscreen = shown->states.offscreen;
    state.invisible = !owner_.Window().isVisible();
    return state;
}

} // namespace kelvox
