#include "platform/qt/qt_label_button_accessible.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

namespace kelvox {

namespace {

constexpr char kActsAsButton[] = "kelvoxActsAsButton";

class LabelButtonAccessible : public QAccessibleWidget {
public:
    explicit LabelButtonAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name)
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(type);
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction())
            click_middle(*widget(), Qt::LeftButton);
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* label_button_factory(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String("QLabel") && object->property(kActsAsButton).toBool())
        return new LabelButtonAccessible(static_cast<QLabel*>(object));
    return nullptr;
}

} // namespace

void present_label_as_button(QWidget& label) {
    static const bool installed = [] {
        QAccessible::installFactory(label_button_factory);
        return true;
    }();
    (void)installed;
    label.setProperty(kActsAsButton, true);
    // Qt may have made the label's interface, as plain text, while the label was being constructed.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&label);
    if (made != nullptr && made->role() != QAccessible::Button)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void click_middle(QWidget& widget, Qt::MouseButton button) {
    const QPointF middle(widget.width() / 2.0, widget.height() / 2.0);
    const QPointF global = widget.mapToGlobal(middle);
    QMouseEvent press(QEvent::MouseButtonPress, middle, global, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, middle, global, button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &release);
}

} // namespace kelvox
