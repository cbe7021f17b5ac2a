#include "timing/timer_thread.h"

#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <exception>

namespace kelvox {

namespace {

// The design's priorities and the platform's run in the same order, lowest first.
static_assert(static_cast<int>(ThreadPriority::idle) == tpIdle &&
              static_cast<int>(ThreadPriority::normal) == tpNormal &&
              static_cast<int>(ThreadPriority::time_critical) == tpTimeCritical);

ThreadPriority platform_priority(TThreadPriority priority) {
    return static_cast<ThreadPriority>(priority);
}

} // namespace

TTimerThread::TTimerThread(Tick tick, uint16_t interval, TThreadPriority priority)
    : tick_(std::move(tick)), poster_(std::make_unique<MainThreadPoster>([this] { RunTick(); })),
      interval_(interval), priority_(priority) {}

std::shared_ptr<TTimerThread> TTimerThread::Start(Tick tick, uint16_t interval, TThreadPriority priority) {
    std::shared_ptr<TTimerThread> worker(new TTimerThread(std::move(tick), interval, priority));
    worker->thread_ = std::thread([self = worker] { self->Execute(); });
    return worker;
}

// A released worker has disposed of its poster's relay: destroyed after the join, or handed to the main
// thread's deferred deletion when it was released from inside its own tick (this destructor then runs
// on the finishing worker thread). Unreleased, the thread never started.
TTimerThread::~TTimerThread() = default;

void TTimerThread::Suspend() {
    {
        std::lock_guard lock(mutex_);
        suspended_ = true;
    }
    changed_.notify_all();
}

void TTimerThread::Resume() {
    {
        std::lock_guard lock(mutex_);
        suspended_ = false;
    }
    changed_.notify_all();
}

bool TTimerThread::Suspended() const {
    std::lock_guard lock(mutex_);
    return suspended_;
}

void TTimerThread::SetInterval(uint16_t interval) {
    {
        std::lock_guard lock(mutex_);
        interval_ = interval;
    }
    changed_.notify_all();
}

void TTimerThread::SetPriority(TThreadPriority priority) {
    std::lock_guard lock(mutex_);
    priority_ = priority;
}

bool TTimerThread::Failed() const {
    std::lock_guard lock(mutex_);
    return failed_;
}

QString TTimerThread::Failure() const {
    return failure_;
}

void TTimerThread::Release() {
    if (released_)
        return;
    released_ = true;
    tick_ = nullptr;
    {
        std::lock_guard lock(mutex_);
        terminated_ = true;
    }
    changed_.notify_all();
    if (ticking_) {
        // The worker waits for the tick that is running further up the stack, so it cannot be joined
        // here; it sees the termination when that tick returns, and RunTick disposes of the poster.
        thread_.detach();
        return;
    }
    WaitForFinish();
    thread_.join();
    poster_.reset();
}

void TTimerThread::WaitForFinish() {
    std::unique_lock lock(mutex_);
    while (!finished_) {
        lock.unlock();
        // A tick the worker has asked for (or is about to ask for: it may have checked for termination
        // just before it was set) cannot run while the main thread waits here. Dropping the queued
        // request releases the worker's wait, and the tick is never delivered.
        poster_->drop_pending();
        lock.lock();
        changed_.wait_for(lock, std::chrono::milliseconds(1), [this] { return finished_; });
    }
}

void TTimerThread::RunTick() {
    // The tick may release this worker (its timer destroyed inside its own handler): keep the link
    // alive for the call. The worker thread holds this object until the tick has returned.
    const Tick tick = tick_;
    if (!tick)
        return;
    // A handler that processes pending messages must also get the other timers' ticks that were
    // queued before this one ran.
    MainThreadPoster::wake_message_loop();
    ticking_ = true;
    bool failed = false;
    try {
        tick();
    } catch (const std::exception& error) {
        failed = true;
        failure_ = QString::fromUtf8(error.what());
    } catch (...) {
        failed = true;
        failure_ = QStringLiteral("unknown error");
    }
    ticking_ = false;
    if (failed)
        qWarning("Threaded timer stopped: its handler raised \"%s\"", qUtf8Printable(failure_));
    if (released_)
        poster_->dispose_after_work();
    // Last: once the worker goes on, a released worker may finish and free this object. Taking the lock
    // also orders everything the tick wrote before the worker's next step.
    std::lock_guard lock(mutex_);
    failed_ = failed_ || failed;
}

void TTimerThread::Execute() {
    std::unique_lock lock(mutex_);
    ApplyPriority(lock);
    // The last tick's cost: whole milliseconds kept in 16 bits (a pause is counted modulo 65536 ms),
    // and the rest below a millisecond, so that the cost of short ticks is deducted too.
    uint16_t elapsed = 0;
    Clock::duration fraction{};
    while (!terminated_) {
        Clock::time_point due;
        if (elapsed < interval_) {
            due = SleepRest(lock, elapsed, fraction);
        } else {
            // A tick took the whole period: no sleep, only give others their turn.
            lock.unlock();
            std::this_thread::yield();
            lock.lock();
            due = Clock::now();
        }
        const bool paused = WaitWhileSuspended(lock);
        if (terminated_)
            break;
        ApplyPriority(lock);
        // Woken late on a busy machine, the worker counts the delay as part of this tick, so that it
        // comes off the next sleep instead of adding to the period; at most one interval of it.
        const Clock::time_point now = Clock::now();
        const Clock::time_point t0 = paused ? now : std::max(due, now - std::chrono::milliseconds(interval_));
        lock.unlock();
        AskMainThread();
        lock.lock();
        if (failed_)
            break;
        // Suspended by a change made inside the tick, the worker waits here; the pause then counts as
        // this tick's run time.
        WaitWhileSuspended(lock);
        const Clock::duration cost = Clock::now() - t0;
        const auto whole = std::chrono::duration_cast<std::chrono::milliseconds>(cost);
        elapsed = static_cast<uint16_t>(whole.count());
        fraction = cost - whole;
    }
    finished_ = true;
    lock.unlock();
    changed_.notify_all();
}

TTimerThread::Clock::time_point TTimerThread::SleepRest(std::unique_lock<std::mutex>& lock, uint16_t elapsed,
                                                        Clock::duration fraction) {
    // The rest of the period follows the current interval, so a change made while the worker sleeps
    // (the owner setting its interval right after construction) does not leave it sleeping the old one.
    const Clock::time_point start = Clock::now() - fraction;
    Clock::time_point due = start;
    while (!terminated_ && elapsed < interval_) {
        due = start + std::chrono::milliseconds(interval_ - elapsed);
        if (Clock::now() >= due)
            break;
        changed_.wait_until(lock, due);
    }
    return due;
}

bool TTimerThread::WaitWhileSuspended(std::unique_lock<std::mutex>& lock) {
    if (!suspended_ || terminated_)
        return false;
    changed_.wait(lock, [this] { return !suspended_ || terminated_; });
    return true;
}

void TTimerThread::ApplyPriority(std::unique_lock<std::mutex>& lock) {
    const TThreadPriority wanted = priority_;
    if (wanted == applied_priority_)
        return;
    applied_priority_ = wanted;
    lock.unlock();
    // Where the platform refuses a priority (an unprivileged Linux process), the thread keeps the one
    // it has.
    set_current_thread_priority(platform_priority(wanted));
    lock.lock();
}

void TTimerThread::AskMainThread() {
    // Returns when the tick has run, or when its request was dropped because the worker was released.
    poster_->run_and_wait();
}

} // namespace kelvox
