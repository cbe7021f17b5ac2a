#pragma once
// Work that a worker thread hands to the main thread, where everything the menu draws and holds lives.
// The worker waits until the work has run there, inside the main thread's message processing.
#include <functional>
#include <memory>

namespace kelvox {

class MainThreadPoster {
public:
    // Made on the main thread; `work` runs there.
    explicit MainThreadPoster(std::function<void()> work);
    // Destroys the relay to the main thread unless dispose_after_work handed it on. Main thread, or the
    // worker after dispose_after_work.
    ~MainThreadPoster();
    MainThreadPoster(const MainThreadPoster&) = delete;
    MainThreadPoster& operator=(const MainThreadPoster&) = delete;

    // Any thread but the main one: asks for the work and returns when it has run, or when the request
    // was dropped.
    void run_and_wait();
    // Main thread: drops a request that has not been delivered yet, which releases its worker's wait.
    void drop_pending();

    // Main thread, from inside the work, which is still being delivered: the relay to the main thread
    // goes once the work has returned, and the poster takes no further requests.
    void dispose_after_work();
    // Main thread: the message processing looks at its queue again even if it is already inside the
    // delivery of another request, so that a handler serving messages also gets the work queued
    // before it.
    static void wake_message_loop();

private:
    class Relay;
    Relay* relay_;
};

enum class ThreadPriority { idle, lowest, low, normal, high, highest, time_critical };

// The calling thread's scheduling priority; where the system refuses it (an unprivileged Linux
// process), the thread keeps the one it has.
void set_current_thread_priority(ThreadPriority priority);

} // namespace kelvox
