#pragma once
// Qt's view of a form for screen readers (layer-internal): the window, whose children are the form's
// drawn controls followed by its dialog widgets, and one interface per drawn control, reading its node
// from the form's tree each time it is asked.
#include "platform/qt/qt_form_accessibility.h"

#include <QAccessibleInterface>

#include <utility>

namespace kelvox {

class QtDrawnNodeAccessible : public QAccessibleInterface {
public:
    QtDrawnNodeAccessible(QtFormAccessibility& owner, NodePath path)
        : owner_(owner), path_(std::move(path)) {}

    bool Belongs(const QtFormAccessibility& owner) const { return &owner == &owner_; }
    const NodePath& Path() const { return path_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

private:
    const AccessibleNode* node() const { return owner_.NodeAt(path_); }

    // The owner deletes every interface it registered before it goes.
    QtFormAccessibility& owner_;
    NodePath path_;
};

// Makes Qt build the form windows' interfaces; once per program.
void install_form_accessible_factory();

} // namespace kelvox
