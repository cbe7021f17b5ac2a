// Threaded timer with real worker threads. The machine running these may be loaded, so time bounds are
// wide; each still separates the right behaviour from the fault it looks for.
#include "timing/threaded_timer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#if defined(__SANITIZE_THREAD__)
// Inside the worker's blocking call Qt allocates the request for a tick and appends it to the main
// thread's event queue under its own lock; the main thread frees it. QtCore is not instrumented, so
// ThreadSanitizer cannot see that lock and reports Qt's queue and request memory as raced between the
// workers and the main thread. Only what happens inside that call is left out: our own data crosses
// threads under the worker's mutex, which it does see.
extern "C" const char* __tsan_default_suppressions() {
    return "race:kelvox::TTimerThread::AskMainThread\n";
}
#endif

namespace kelvox {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { app_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[16] = "timer_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

// Processes the main thread's messages (the timers' ticks among them) until done() or the limit.
bool PumpUntil(const std::function<bool()>& done, milliseconds limit) {
    const Clock::time_point end = Clock::now() + limit;
    QTimer wake; // keeps the wait for messages from blocking past the limit
    wake.start(5);
    while (!done()) {
        if (Clock::now() >= end)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void PumpFor(milliseconds time) {
    PumpUntil([] { return false; }, time);
}

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Start times of a handler's calls, and a handler that records them.
struct TickLog {
    std::vector<Clock::time_point> starts;
    std::vector<Clock::time_point> ends;

    int count() const { return static_cast<int>(starts.size()); }
    TThreadedTimer::TNotifyEvent Recorder(std::function<void(TThreadedTimer*)> then = {}) {
        return [this, then](TThreadedTimer* sender) {
            starts.push_back(Clock::now());
            if (then)
                then(sender);
            ends.push_back(Clock::now());
        };
    }
    std::vector<double> Periods(size_t from = 0) const {
        std::vector<double> periods;
        for (size_t i = from + 1; i < starts.size(); ++i)
            periods.push_back(Milliseconds(starts[i] - starts[i - 1]));
        return periods;
    }
};

void Work(milliseconds time) {
    const Clock::time_point end = Clock::now() + time;
    while (Clock::now() < end)
        std::this_thread::sleep_for(milliseconds(1));
}

const milliseconds kPatience(3000); // what a tick that must come may take on a loaded machine

TEST(ThreadedTimer, ATickWithoutAHandlerRunsNothingAndFailsNothing) {
    TThreadedTimer timer;
    ASSERT_FALSE(timer.OnTimer());
    timer.Timer();
    EXPECT_FALSE(timer.Failed());
}

TEST(ThreadedTimer, MainWindowTimersTickOnlyWhenEnabled) {
    struct Case {
        const char* name;
        bool enabled;
        uint16_t interval;
        TThreadPriority priority;
    };
    const Case cases[] = {
        {"timer1", false, 10, tpTimeCritical},
        {"scrolltimer", true, 15, tpHigher},
        {"musictimer", false, 1000, tpNormal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TickLog log;
        TThreadedTimer timer(c.enabled, c.interval, c.priority);
        EXPECT_EQ(timer.Enabled(), c.enabled);
        EXPECT_EQ(timer.Interval(), c.interval);
        EXPECT_EQ(timer.ThreadPriority(), c.priority);
        PumpFor(milliseconds(50));
        EXPECT_EQ(log.count(), 0) << "ticked without a handler";
        timer.SetOnTimer(log.Recorder());
        if (!c.enabled) {
            PumpFor(milliseconds(200));
            EXPECT_EQ(log.count(), 0) << "ticked while disabled";
            timer.SetEnabled(true);
        }
        const Clock::time_point active = Clock::now();
        ASSERT_TRUE(PumpUntil([&] { return log.count() >= 2; }, kPatience + milliseconds(2 * c.interval)));
        // The first tick follows soon after the timer becomes active.
        if (c.interval < 1000) {
            EXPECT_LT(Milliseconds(log.starts[0] - active), 500);
        }
    }
}

TEST(ThreadedTimer, ShorterIntervalCutsTheSleepInProgress) {
    // The worker starts sleeping the default second at construction; an owner that sets its timer up
    // a little later must not wait for that second.
    TickLog log;
    TThreadedTimer timer;
    PumpFor(milliseconds(100));
    timer.SetInterval(20);
    const Clock::time_point active = Clock::now();
    timer.SetOnTimer(log.Recorder());
    ASSERT_TRUE(PumpUntil([&] { return log.count() >= 1; }, kPatience));
    EXPECT_LT(Milliseconds(log.starts[0] - active), 500);
}

TEST(ThreadedTimer, TicksOnTheMainThreadWithTheTimerAsSender) {
    TThreadedTimer timer(true, 10, tpNormal);
    std::vector<TThreadedTimer*> senders;
    std::vector<bool> on_main;
    QThread* const main = QThread::currentThread();
    timer.SetOnTimer([&](TThreadedTimer* sender) {
        senders.push_back(sender);
        on_main.push_back(QThread::currentThread() == main);
    });
    ASSERT_TRUE(PumpUntil([&] { return senders.size() >= 5; }, kPatience));
    timer.SetOnTimer(nullptr);
    for (size_t i = 0; i < senders.size(); ++i) {
        EXPECT_EQ(senders[i], &timer) << i;
        EXPECT_TRUE(on_main[i]) << i;
    }
}

TEST(ThreadedTimer, PeriodFollowsTheIntervalWithTheTickTimeDeducted) {
    struct Case {
        uint16_t interval;
        int work_ms;
    };
    // With 6 ms of work a period that did not deduct it would be 26 ms.
    const Case cases[] = {{10, 0}, {20, 0}, {50, 0}, {20, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.interval << " ms, work " << c.work_ms << " ms");
        TickLog log;
        TThreadedTimer timer(true, c.interval, tpNormal);
        timer.SetOnTimer(log.Recorder([&](TThreadedTimer*) { Work(milliseconds(c.work_ms)); }));
        ASSERT_TRUE(PumpUntil([&] { return log.count() >= 25; }, kPatience + milliseconds(30 * c.interval)));
        timer.SetOnTimer(nullptr);
        const double median = Median(log.Periods(1));
        EXPECT_GE(median, c.interval * 0.8);
        EXPECT_LE(median, c.interval + 3.5);
    }
}

TEST(ThreadedTimer, AssigningTheSameHandlerAgainKeepsItTicking) {
    TThreadedTimer timer(true, 10, tpNormal);
    int ticks = 0;
    timer.SetOnTimer([&](TThreadedTimer* sender) {
        ++ticks;
        // From inside its own tick: the running handler is the one being replaced by its copy.
        sender->SetOnTimer(sender->OnTimer());
    });
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 5; }, kPatience));
    timer.SetOnTimer(timer.OnTimer());
    const int before = ticks;
    EXPECT_TRUE(PumpUntil([&] { return ticks >= before + 5; }, kPatience));
}

TEST(ThreadedTimer, HandlerReplacedOrRemovedInsideItsOwnTick) {
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace ? "replaced" : "removed");
        TThreadedTimer timer(true, 10, tpNormal);
        int first_ticks = 0;
        int second_ticks = 0;
        // Captured state the running handler still uses after it has replaced itself: it must stay alive.
        std::string label(200, 'x');
        timer.SetOnTimer([&, label](TThreadedTimer* sender) {
            if (++first_ticks < 3)
                return;
            if (replace)
                sender->SetOnTimer([&](TThreadedTimer*) { ++second_ticks; });
            else
                sender->SetOnTimer(nullptr);
            EXPECT_EQ(label.size(), 200u);
            EXPECT_EQ(label.back(), 'x');
        });
        ASSERT_TRUE(PumpUntil([&] { return first_ticks >= 3; }, kPatience));
        if (replace) {
            EXPECT_TRUE(PumpUntil([&] { return second_ticks >= 3; }, kPatience));
        } else {
            PumpFor(milliseconds(200));
            EXPECT_EQ(second_ticks, 0);
            EXPECT_FALSE(timer.OnTimer());
            timer.SetOnTimer([&](TThreadedTimer*) { ++second_ticks; });
            EXPECT_TRUE(PumpUntil([&] { return second_ticks >= 3; }, kPatience)) << "not resumed";
        }
        EXPECT_EQ(first_ticks, 3);
    }
}

TEST(ThreadedTimer, StoppedTimerDeliversNoTickUntilStartedAgain) {
    struct Case {
        const char* name;
        std::function<void(TThreadedTimer&)> stop;
        std::function<void(TThreadedTimer&, const TThreadedTimer::TNotifyEvent&)> start;
    };
    const Case cases[] = {
        {"Enabled false", [](TThreadedTimer& t) { t.SetEnabled(false); },
         [](TThreadedTimer& t, const TThreadedTimer::TNotifyEvent&) { t.SetEnabled(true); }},
        {"Interval 0", [](TThreadedTimer& t) { t.SetInterval(0); },
         [](TThreadedTimer& t, const TThreadedTimer::TNotifyEvent&) { t.SetInterval(10); }},
        {"no handler", [](TThreadedTimer& t) { t.SetOnTimer(nullptr); },
         [](TThreadedTimer& t, const TThreadedTimer::TNotifyEvent& h) { t.SetOnTimer(h); }},
    };
    for (const Case& c : cases) {
        // Stopped while the main thread is busy, the worker's request for a tick is already waiting
        // in the main thread's queue when the timer stops: it must not be delivered.
        for (const bool request_waiting : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.name << (request_waiting ? ", request waiting" : ""));
            TickLog log;
            TThreadedTimer timer(true, 10, tpNormal);
            const TThreadedTimer::TNotifyEvent handler = log.Recorder();
            timer.SetOnTimer(handler);
            ASSERT_TRUE(PumpUntil([&] { return log.count() >= 2; }, kPatience));
            if (request_waiting)
                std::this_thread::sleep_for(milliseconds(60));
            c.stop(timer);
            const int stopped_at = log.count();
            PumpFor(milliseconds(200));
            EXPECT_EQ(log.count(), stopped_at) << "ticked while stopped";
            c.start(timer, handler);
            EXPECT_TRUE(PumpUntil([&] { return log.count() >= stopped_at + 3; }, kPatience)) << "not resumed";
        }
    }
}

TEST(ThreadedTimer, SlowHandlerIsFollowedAtOnceWithoutBacklog) {
    const uint16_t interval = 40;
    const int slow_ticks = 4;
    TickLog log;
    TThreadedTimer timer(true, interval, tpNormal);
    timer.SetOnTimer(log.Recorder([&](TThreadedTimer*) {
        if (log.count() <= slow_ticks)
            Work(milliseconds(100));
    }));
    ASSERT_TRUE(PumpUntil([&] { return log.count() > slow_ticks; }, kPatience * 2));
    std::vector<double> gaps; // from the end of a slow tick to the start of the next
    for (int i = 0; i < slow_ticks; ++i)
        gaps.push_back(Milliseconds(log.starts[i + 1] - log.ends[i]));
    EXPECT_LT(Median(gaps), interval / 2.0) << "slept after a tick longer than the interval";
    // A timer that queued the ticks missed during the slow ones would now deliver about six at once.
    const Clock::time_point slow_end = log.ends[slow_ticks - 1];
    PumpFor(milliseconds(200));
    const int after = static_cast<int>(std::count_if(log.starts.begin(), log.starts.end(),
                                                     [&](Clock::time_point t) { return t > slow_end; }));
    EXPECT_GE(after, 1);
    EXPECT_LE(after, 200 / interval + 2);
}

TEST(ThreadedTimer, PauseInsideATickCountsAsThatTicksRunTime) {
    struct Case {
        int pause_ms;
        double earliest_ms; // from the handler's return to the next tick
        double latest_ms;
    };
    const uint16_t interval = 200;
    const Case cases[] = {
        {300, 0, 120},  // paused longer than the interval: the next tick follows at once
        {50, 110, 600}, // shorter: it comes after the rest of the interval (about 150 ms)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pause " << c.pause_ms << " ms");
        TickLog log;
        TThreadedTimer timer(true, interval, tpNormal);
        const TThreadedTimer::TNotifyEvent handler = log.Recorder([](TThreadedTimer* sender) {
            sender->SetOnTimer(nullptr); // the worker stays suspended inside its wait for this tick
        });
        timer.SetOnTimer(handler);
        ASSERT_TRUE(PumpUntil([&] { return log.count() == 1; }, kPatience));
        PumpUntil([&] { return Clock::now() - log.ends[0] >= milliseconds(c.pause_ms); }, kPatience);
        const Clock::time_point resumed = Clock::now();
        timer.SetOnTimer(log.Recorder());
        ASSERT_TRUE(PumpUntil([&] { return log.count() == 2; }, kPatience));
        const double delay = Milliseconds(log.starts[1] - resumed);
        EXPECT_GE(delay, c.earliest_ms);
        EXPECT_LE(delay, c.latest_ms);
    }
}

TEST(ThreadedTimer, NoTickAfterDestructionBegins) {
    enum class Where { Outside, WhileRequestWaits, InsideOtherTimersTick, InsideOwnTick, NestedInOwnTick };
    struct Case {
        const char* name;
        Where where;
    };
    const Case cases[] = {
        {"outside any tick", Where::Outside},
        {"while its worker waits for the main thread", Where::WhileRequestWaits},
        {"inside another timer's tick, its request waiting", Where::InsideOtherTimersTick},
        {"inside its own tick", Where::InsideOwnTick},
        {"inside another timer's tick nested in its own", Where::NestedInOwnTick},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool destroying = false;
        int late_ticks = 0;
        int ticks = 0;
        std::unique_ptr<TThreadedTimer> victim = std::make_unique<TThreadedTimer>(true, 5, tpNormal);
        TThreadedTimer other(true, 10, tpNormal);
        auto destroy = [&] {
            destroying = true;
            victim.reset();
        };
        const std::string kept(100, 'k');
        victim->SetOnTimer([&, kept](TThreadedTimer*) {
            if (destroying)
                ++late_ticks;
            ++ticks;
            if (c.where == Where::InsideOwnTick && ticks == 3)
                destroy();
            if (c.where == Where::NestedInOwnTick && ticks == 3)
                PumpUntil([&] { return !victim; }, kPatience);
            EXPECT_EQ(kept.size(), 100u); // the running handler outlives its timer
        });
        other.SetOnTimer([&](TThreadedTimer*) {
            if (!victim || ticks < 3)
                return;
            if (c.where == Where::InsideOtherTimersTick) {
                std::this_thread::sleep_for(milliseconds(40));
                destroy();
            }
            if (c.where == Where::NestedInOwnTick)
                destroy();
        });
        ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }, kPatience));
        if (c.where == Where::Outside)
            destroy();
        if (c.where == Where::WhileRequestWaits) {
            std::this_thread::sleep_for(milliseconds(40)); // the 5 ms worker is now blocked on the request
            destroy();
        }
        const Clock::time_point begun = Clock::now();
        ASSERT_TRUE(PumpUntil([&] { return !victim; }, kPatience));
        EXPECT_LT(Milliseconds(Clock::now() - begun), 2500);
        PumpFor(milliseconds(100));
        EXPECT_EQ(late_ticks, 0);
    }
}

TEST(ThreadedTimer, RaisingHandlerStopsItsTimerForGood) {
    struct Case {
        const char* name;
        std::function<void()> raise;
        QString failure;
    };
    const Case cases[] = {
        {"standard exception", [] { throw std::runtime_error("boom"); }, QStringLiteral("boom")},
        {"anything else", [] { throw 7; }, QStringLiteral("unknown error")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TThreadedTimer failing(true, 10, tpNormal);
        TThreadedTimer other(true, 10, tpNormal);
        int failing_ticks = 0;
        int other_ticks = 0;
        failing.SetOnTimer([&](TThreadedTimer*) {
            if (++failing_ticks == 3)
                c.raise();
        });
        other.SetOnTimer([&](TThreadedTimer*) { ++other_ticks; });
        ASSERT_TRUE(PumpUntil([&] { return failing_ticks >= 3; }, kPatience));
        PumpUntil([&] { return failing.Failed(); }, kPatience);
        EXPECT_TRUE(failing.Failed());
        EXPECT_EQ(failing.Failure(), c.failure);
        const int others_then = other_ticks;
        EXPECT_TRUE(PumpUntil([&] { return other_ticks >= others_then + 5; }, kPatience));
        // Later changes do not revive it.
        failing.SetOnTimer([&](TThreadedTimer*) { ++failing_ticks; });
        failing.SetEnabled(false);
        failing.SetEnabled(true);
        failing.SetInterval(20);
        PumpFor(milliseconds(200));
        EXPECT_EQ(failing_ticks, 3);
        EXPECT_FALSE(other.Failed());
    }
}

TEST(ThreadedTimer, TicksOfOtherTimersNestInsideATickThatProcessesMessages) {
    TThreadedTimer outer(true, 10, tpNormal);
    TThreadedTimer inner(true, 10, tpNormal);
    int outer_depth = 0;
    int deepest_outer = 0;
    int outer_ticks = 0;
    int nested_inner_ticks = 0;
    outer.SetOnTimer([&](TThreadedTimer*) {
        ++outer_ticks;
        deepest_outer = std::max(deepest_outer, ++outer_depth);
        if (outer_ticks == 1) // a long handler that lets the menu breathe
            PumpUntil([&] { return nested_inner_ticks >= 5; }, kPatience);
        --outer_depth;
    });
    inner.SetOnTimer([&](TThreadedTimer*) {
        if (outer_depth > 0)
            ++nested_inner_ticks;
    });
    ASSERT_TRUE(PumpUntil([&] { return outer_ticks >= 3; }, kPatience * 2));
    EXPECT_GE(nested_inner_ticks, 5);
    EXPECT_EQ(deepest_outer, 1) << "a timer's tick ran inside its own";
}

} // namespace
} // namespace kelvox
