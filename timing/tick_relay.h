#pragma once
// The object on the main thread that a timer's worker asks to run a tick. The worker reaches it through
// a blocking queued call, so the tick runs inside the main thread's message processing and the worker
// waits until it has returned.
#include <QObject>

namespace kelvox {

class TTimerThread;

class TickRelay : public QObject {
    Q_OBJECT
public:
    explicit TickRelay(TTimerThread& worker) : worker_(worker) {}

    Q_INVOKABLE void deliver();

private:
    TTimerThread& worker_;
};

} // namespace kelvox
