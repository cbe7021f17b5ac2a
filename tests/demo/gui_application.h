#pragma once
// Painting text needs a GUI application; the tests make one on first use and keep it for the run.
#include <QGuiApplication>

namespace kelvox::test {

inline void ensure_gui_application() {
    if (QGuiApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "demo-test";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
}

} // namespace kelvox::test
