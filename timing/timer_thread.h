#pragma once
// The worker thread of a threaded timer. It only sleeps, measures how long its ticks take and asks the
// main thread to run each tick, waiting until it has run; everything a tick touches stays on the main
// thread. It is created, steered and released from the main thread only.
#include "platform/main_thread.h"
#include "timing/thread_priority.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace kelvox {

class TTimerThread : public std::enable_shared_from_this<TTimerThread> {
public:
    // What the main thread runs for a tick: the link to the owning timer.
    using Tick = std::function<void()>;

    // The worker runs at once. The thread keeps its own reference to the object, so that it can
    // finish by itself when it is released from inside its own tick.
    static std::shared_ptr<TTimerThread> Start(Tick tick, uint16_t interval, TThreadPriority priority);
    ~TTimerThread();
    TTimerThread(const TTimerThread&) = delete;
    TTimerThread& operator=(const TTimerThread&) = delete;

    // Suspension is balanced by the owner: a worker is never suspended twice. A suspended worker
    // stops at its next step: before asking for a tick, or right after the tick it waits for.
    void Suspend();
    void Resume();
    bool Suspended() const;

    // Taken at the start of the worker's next period.
    void SetInterval(uint16_t interval);
    // Applied by the worker itself before its next tick.
    void SetPriority(TThreadPriority priority);

    // Ends the worker; no tick runs from here on. Waits for the thread unless the worker's own tick
    // is running further up the stack: then the thread finishes by itself when that tick returns.
    void Release();

    // A tick that raised an error ends the worker for good.
    bool Failed() const;
    QString Failure() const;

private:
    TTimerThread(Tick tick, uint16_t interval, TThreadPriority priority);
    void Execute();
    using Clock = std::chrono::steady_clock;

    // Sleeps out the period and returns when the tick was due.
    Clock::time_point SleepRest(std::unique_lock<std::mutex>& lock, uint16_t elapsed,
                                Clock::duration fraction);
    // Whether the worker had to wait.
    bool WaitWhileSuspended(std::unique_lock<std::mutex>& lock);
    void ApplyPriority(std::unique_lock<std::mutex>& lock);
    void AskMainThread();
    void WaitForFinish();
    // Main thread, asked by the worker: runs one tick and hands its outcome to the worker.
    void RunTick();

    // Main thread only.
    Tick tick_;
    bool ticking_ = false;
    bool released_ = false;
    QString failure_;
    std::unique_ptr<MainThreadPoster> poster_;

    // Shared with the worker, under mutex_.
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    uint16_t interval_;
    TThreadPriority priority_;
    bool suspended_ = false;
    bool terminated_ = false;
    bool failed_ = false;
    bool finished_ = false;

    // Worker only.
    int applied_priority_ = -1;

    std::thread thread_;
};

} // namespace kelvox
