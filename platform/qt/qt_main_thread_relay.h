#pragma once
// The object on the main thread that a worker's request is posted to: a blocking queued call of
// deliver(), so the work runs inside the main thread's message processing and the worker waits until it
// has returned. A request dropped before delivery releases the worker as well. The call carries no
// arguments: nothing of the waiting worker's stack is read from the main thread.
#include <QMetaMethod>
#include <QObject>

#include <functional>

namespace kelvox {

class QtMainThreadRelay : public QObject {
    Q_OBJECT
public:
    explicit QtMainThreadRelay(std::function<void()> work)
        : work_(std::move(work)), deliver_(metaObject()->method(metaObject()->indexOfMethod("deliver()"))) {}

    Q_INVOKABLE void deliver() { work_(); }
    // Any thread but the main one.
    void call_and_wait() { deliver_.invoke(this, Qt::BlockingQueuedConnection); }

private:
    const std::function<void()> work_;
    const QMetaMethod deliver_;
};

} // namespace kelvox
