#include "platform/main_thread.h"

#include "platform/qt/qt_main_thread_relay.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace kelvox {

class MainThreadPoster::Relay : public QtMainThreadRelay {
public:
    using QtMainThreadRelay::QtMainThreadRelay;
};

MainThreadPoster::MainThreadPoster(std::function<void()> work) : relay_(new Relay(std::move(work))) {}

MainThreadPoster::~MainThreadPoster() {
    delete relay_;
}

void MainThreadPoster::run_and_wait() {
    relay_->call_and_wait();
}

void MainThreadPoster::drop_pending() {
    QCoreApplication::removePostedEvents(relay_, QEvent::MetaCall);
}

void MainThreadPoster::dispose_after_work() {
    // Deferred, because the relay is still delivering this very call.
    relay_->deleteLater();
    relay_ = nullptr;
}

void MainThreadPoster::wake_message_loop() {
    // Qt's GLib event dispatcher, processing messages from inside the delivery of a queued call, only
    // looks at the queue again after a wake-up.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
}

namespace {

QThread::Priority qt_priority(ThreadPriority priority) {
    switch (priority) {
    case ThreadPriority::idle:
        return QThread::IdlePriority;
    case ThreadPriority::lowest:
        return QThread::LowestPriority;
    case ThreadPriority::low:
        return QThread::LowPriority;
    case ThreadPriority::normal:
        return QThread::NormalPriority;
    case ThreadPriority::high:
        return QThread::HighPriority;
    case ThreadPriority::highest:
        return QThread::HighestPriority;
    case ThreadPriority::time_critical:
        return QThread::TimeCriticalPriority;
    }
    return QThread::NormalPriority;
}

} // namespace

void set_current_thread_priority(ThreadPriority priority) {
    QThread::currentThread()->setPriority(qt_priority(priority));
}

} // namespace kelvox
