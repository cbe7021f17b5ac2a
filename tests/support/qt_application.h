#pragma once
// Qt's application object for tests that draw, make windows or use fonts: created on first use, once
// per test program, on whatever platform QT_QPA_PLATFORM names (offscreen under CTest).
class QApplication;

namespace kelvox::test {

QApplication& qt_application();

// A member to declare before any member that needs Qt's application (a form, say).
struct QtApplicationReady {
    QtApplicationReady() { qt_application(); }
};

} // namespace kelvox::test
