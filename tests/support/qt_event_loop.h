#pragma once
// For tests that need Qt's message processing (media backends, threaded timers): one application
// object for the whole test program, and a bounded wait that keeps the messages flowing.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <functional>

namespace kelvox::test {

// Creates the application object on first use, unless the test program made one itself.
inline void ensure_application() {
    static int argc = 1;
    static char name[] = "kelvox_test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // lives as long as the program
}

// Processes messages until the condition holds or the time is up; true when it held.
inline bool process_until(const std::function<bool()>& condition, int timeout_ms) {
    QDeadlineTimer deadline(timeout_ms);
    QTimer wake; // keeps the wait for messages from blocking past the deadline
    wake.start(5);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

inline void process_for(int ms) {
    process_until([] { return false; }, ms);
}

} // namespace kelvox::test
