#pragma once
// A timer whose ticks are timed by a worker thread of its own and delivered on the main thread.
//
// The timer ticks while it is active: Interval is not 0, Enabled is true and OnTimer is assigned. Each
// tick runs on the main thread while the worker waits for it, so a timer never has two ticks at once
// and a slow handler stretches the period instead of queueing ticks; the time a tick takes is
// deducted from the next sleep. A handler may replace or remove OnTimer, change the other properties,
// process pending messages (other timers' ticks then run inside it) or destroy its own timer.
//
// A handler that raises an error stops its timer for good: the error is caught on the main thread,
// written once to Qt's warning output, and kept in Failure(); no tick follows, whatever is changed
// later. Other timers go on.
//
// Ownership and destruction:
// - Create, change and destroy a timer on the main thread only, while the QCoreApplication (or
//   QApplication) exists: the ticks are delivered by its message processing. Destroy every timer
//   before the application object is destroyed.
// - Destruction stops the timer; no tick is delivered once it has begun, not even one the worker has
//   already asked for. It does not wait for the main thread's messages, so it cannot deadlock.
// - A handler's captured objects must outlive the timer, or the handler must be removed before they
//   go: an owning window declares its timers after the members their handlers use (members are
//   destroyed in reverse order), or removes the handlers and destroys the timers first when it closes.
//
// The main window's three timers are, for example:
//   TThreadedTimer timer1{false, 10, tpTimeCritical};
//   TThreadedTimer scrolltimer{true, 15, tpHigher};
//   TThreadedTimer musictimer{false, 1000, tpNormal, [this](TThreadedTimer* Sender) {
//   musictimerTimer(Sender); }};
#include "timing/thread_priority.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace kelvox {

class TTimerThread;

class TThreadedTimer {
public:
    // Sender is the timer that ticks.
    using TNotifyEvent = std::function<void(TThreadedTimer* Sender)>;

    // Enabled, Interval 1000 ms, no OnTimer, tpNormal. The worker starts at once; it ticks without
    // effect until the first property change suspends it, since no handler is assigned yet.
    TThreadedTimer();
    // The defaults, then the given values through the setters, in the members' order.
    TThreadedTimer(bool enabled, uint16_t interval, TThreadPriority priority, TNotifyEvent on_timer = {});
    ~TThreadedTimer();
    TThreadedTimer(const TThreadedTimer&) = delete;
    TThreadedTimer& operator=(const TThreadedTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Milliseconds; 0 keeps the timer stopped.
    uint16_t Interval() const { return interval_; }
    void SetInterval(uint16_t interval);
    const TNotifyEvent& OnTimer() const { return on_timer_; }
    // Refreshes the worker on every call, even with the handler it already has.
    void SetOnTimer(TNotifyEvent on_timer);
    // How many times OnTimer has been assigned: a handler that serves messages mid-step can tell
    // whether another one was put in its place meanwhile.
    unsigned HandlerChanges() const { return handler_changes_; }
    // Applied to the running worker before its next tick, where the platform allows.
    TThreadPriority ThreadPriority() const { return thread_priority_; }
    void SetThreadPriority(TThreadPriority priority);

    // Runs OnTimer now, on the calling thread, with this timer as Sender; nothing without a handler.
    void Timer();

    // Whether a handler raised an error, which stopped the timer for good, and that error's text.
    bool Failed() const;
    QString Failure() const;

protected:
    // Brings the worker into line with the timer's state: suspends it, then resumes it when the timer
    // is active.
    void UpdateTimer();

private:
    bool Active() const;
    // The worker's tick, on the main thread.
    void DeliverTick();

    bool enabled_ = true;
    uint16_t interval_ = 1000;
    unsigned handler_changes_ = 0;
    TNotifyEvent on_timer_;
    std::shared_ptr<TTimerThread> worker_;
    TThreadPriority thread_priority_ = tpNormal;
};

} // namespace kelvox
