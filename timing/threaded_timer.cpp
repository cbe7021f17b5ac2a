#include "timing/threaded_timer.h"

#include "timing/timer_thread.h"

#include <utility>

namespace kelvox {

TThreadedTimer::TThreadedTimer() {
    // In the body: the worker comes before ThreadPriority among the members, but starts with it.
    worker_ = TTimerThread::Start([this] { DeliverTick(); }, interval_, thread_priority_);
}

TThreadedTimer::TThreadedTimer(bool enabled, uint16_t interval, TThreadPriority priority,
                               TNotifyEvent on_timer)
    : TThreadedTimer() {
    SetEnabled(enabled);
    SetInterval(interval);
    if (on_timer)
        SetOnTimer(std::move(on_timer));
    SetThreadPriority(priority);
}

TThreadedTimer::~TThreadedTimer() {
    enabled_ = false;
    UpdateTimer();
    worker_->Release();
}

void TThreadedTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateTimer();
}

void TThreadedTimer::SetInterval(uint16_t interval) {
    if (interval == interval_)
        return;
    interval_ = interval;
    worker_->SetInterval(interval);
    UpdateTimer();
}

void TThreadedTimer::SetOnTimer(TNotifyEvent on_timer) {
    on_timer_ = std::move(on_timer);
    ++handler_changes_;
    UpdateTimer();
}

void TThreadedTimer::SetThreadPriority(TThreadPriority priority) {
    if (priority == thread_priority_)
        return;
    thread_priority_ = priority;
    worker_->SetPriority(priority);
    UpdateTimer();
}

void TThreadedTimer::Timer() {
    // The handler may replace or remove itself, or destroy this timer: call a copy, so the running
    // handler stays alive, and touch nothing of the timer after it.
    const TNotifyEvent handler = on_timer_;
    if (handler)
        handler(this);
}

bool TThreadedTimer::Failed() const {
    return worker_->Failed();
}

QString TThreadedTimer::Failure() const {
    return worker_->Failure();
}

void TThreadedTimer::UpdateTimer() {
    if (!worker_->Suspended())
        worker_->Suspend();
    if (Active() && worker_->Suspended())
        worker_->Resume();
}

bool TThreadedTimer::Active() const {
    return interval_ != 0 && enabled_ && on_timer_;
}

void TThreadedTimer::DeliverTick() {
    // The worker may have asked for this tick before the timer stopped (its request waited behind
    // other messages): a stopped timer does not tick.
    if (Active())
        Timer();
}

} // namespace kelvox
