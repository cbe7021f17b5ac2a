// The start's workers beside the toolkit's own start, as the application object runs them; run under
// ThreadSanitizer too. Without a session bus the start still goes on, and the fonts are there.
#include "platform/qt/qt_start_up_work.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

#if defined(__SANITIZE_THREAD__)
// The bus connection lives in a thread of Qt's own, which the worker and the main thread both ask for it:
// Qt hands requests, strings and GLib's wake-ups between them under locks of its own (futexes), and
// neither QtCore, QtDBus nor GLib is instrumented, so ThreadSanitizer would report each hand-over inside
// them as a race. Only the instrumented code, ours, is judged.
extern "C" const char* __tsan_default_options() {
    return "ignore_noninstrumented_modules=1";
}
#endif

namespace kelvox {
namespace {

TEST(StartUpWork, TheToolkitStartsBesideItsWorkersWithOrWithoutASessionBus) {
    // No bus answers here: the worker's connection fails, and so does the one the toolkit asks for.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/kelvox-session-bus");
    static int argc = 1;
    static char name[] = "start_up_work_test";
    static char* argv[] = {name, nullptr};
    auto work = std::make_unique<StartUpWork>();
    QGuiApplication application(argc, argv);
    work->WaitForFonts();
    work->ConnectSessionBus();
    // What the screen readers' bridge asks for when the window shows, while the worker may still ask.
    EXPECT_FALSE(QDBusConnection::sessionBus().isConnected());
    EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("DejaVu Sans")))
        << "the fonts of the configuration read";
    work.reset();
}

} // namespace
} // namespace kelvox
