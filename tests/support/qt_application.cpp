#include "tests/support/qt_application.h"

#include <QApplication>

namespace kelvox::test {

QApplication& qt_application() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "kelvox-test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's input devices must not be torn down by the exit handlers after the
    // platform they belong to is gone (seen with dialog widgets: a crash at exit).
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

} // namespace kelvox::test
