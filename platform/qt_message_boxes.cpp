#include "platform/qt_message_boxes.h"

#include "platform/application.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace kelvox {

namespace {

QString application_title() {
    if (const Application* application = Application::Instance())
        return application->Title();
    return QGuiApplication::applicationDisplayName();
}

} // namespace

void QtMessageBoxes::show(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, application_title(), text, QMessageBox::Ok);
    box.exec();
}

bool QtMessageBoxes::confirm(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

} // namespace kelvox
