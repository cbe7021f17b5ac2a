#include "platform/qt/qt_message_boxes.h"

#include "platform/application.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMessageBox>

namespace kelvox {

namespace {

// Every box's text, for whoever drives the program from outside (end-to-end tests read it with
// QT_LOGGING_RULES="kelvox.messages.info=true"); silent otherwise.
Q_LOGGING_CATEGORY(message_log, "kelvox.messages", QtWarningMsg)

QString application_title() {
    if (const Application* application = Application::Instance())
        return application->Title();
    return QGuiApplication::applicationDisplayName();
}

} // namespace

void QtMessageBoxes::show(const QString& text) {
    qCInfo(message_log).noquote() << "message:" << text;
    QMessageBox box(QMessageBox::NoIcon, application_title(), text, QMessageBox::Ok);
    box.exec();
}

bool QtMessageBoxes::confirm(const QString& text, const QString& caption) {
    qCInfo(message_log).noquote() << "question:" << text;
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

} // namespace kelvox
