#include "tests/support/qt_application.h"

#include <QApplication>

namespace kelvox::test {

QApplication& qt_application() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "kelvox-test";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

} // namespace kelvox::test
