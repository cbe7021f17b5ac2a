#include "platform/main_thread.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QThread>

namespace kelvox {

// The object on the main thread that a worker's request is posted to: a blocking queued call, so the
// work runs inside the main thread's message processing and the worker waits until it has returned.
// A request dropped before delivery releases the worker as well.
class MainThreadPoster::Relay : public QObject {
public:
    explicit Relay(std::function<void()> work) : work(std::move(work)) {}
    const std::function<void()> work;
};

MainThreadPoster::MainThreadPoster(std::function<void()> work) : relay_(new Relay(std::move(work))) {}

MainThreadPoster::~MainThreadPoster() {
    delete relay_;
}

void MainThreadPoster::run_and_wait() {
    Relay* const relay = relay_;
    QMetaObject::invokeMethod(
        relay, [relay] { relay->work(); }, Qt::BlockingQueuedConnection);
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
