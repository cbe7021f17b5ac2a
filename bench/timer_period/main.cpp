// Measures the period of threaded timers as the menu uses them: 10 ms (animation steps) and 15 ms
// (ticker), with an idle handler and with one that works 6 ms per tick. Periods are taken between the
// starts of consecutive handler calls on the main thread.
//
// Usage: timer_period [ticks per run, at least 500]
#include "timing/threaded_timer.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
    uint16_t interval;
    kelvox::TThreadPriority priority;
    int work_ms;
};

struct Figures {
    double mean;
    double median;
    double p99;
    double max;
    double mean_lateness; // how much later than one interval after the previous tick, early ones as 0
};

void Work(std::chrono::milliseconds time) {
    const Clock::time_point end = Clock::now() + time;
    while (Clock::now() < end) {
    }
}

std::vector<double> MeasurePeriods(const Run& run, int ticks) {
    // The first tick after the timer becomes active follows at once; leave a few out.
    const int warm_up = 3;
    std::vector<Clock::time_point> starts;
    starts.reserve(ticks + warm_up + 1);
    QEventLoop loop;
    kelvox::TThreadedTimer timer(true, run.interval, run.priority);
    timer.SetOnTimer([&](kelvox::TThreadedTimer* sender) {
        starts.push_back(Clock::now());
        Work(std::chrono::milliseconds(run.work_ms));
        if (static_cast<int>(starts.size()) > ticks + warm_up) {
            sender->SetOnTimer(nullptr);
            loop.quit();
        }
    });
    loop.exec();
    std::vector<double> periods;
    for (size_t i = warm_up + 1; i < starts.size(); ++i)
        periods.push_back(std::chrono::duration<double, std::milli>(starts[i] - starts[i - 1]).count());
    return periods;
}

Figures Summarise(std::vector<double> periods, uint16_t interval) {
    std::sort(periods.begin(), periods.end());
    const double n = static_cast<double>(periods.size());
    double lateness = 0;
    for (double p : periods)
        lateness += std::max(0.0, p - interval);
    const size_t p99_at = std::min(periods.size() - 1, static_cast<size_t>(n * 0.99));
    return {std::accumulate(periods.begin(), periods.end(), 0.0) / n, periods[periods.size() / 2],
            periods[p99_at], periods.back(), lateness / n};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int ticks = std::max(500, argc > 1 ? std::atoi(argv[1]) : 500);
    const Run runs[] = {
        {10, kelvox::tpTimeCritical, 0},
        {15, kelvox::tpHigher, 0},
        {10, kelvox::tpTimeCritical, 6},
        {15, kelvox::tpHigher, 6},
    };
    double idle_p99[2] = {0, 0};
    std::printf("%d ticks per run, %u hardware threads\n", ticks, std::thread::hardware_concurrency());
    for (const Run& run : runs) {
        const Figures f = Summarise(MeasurePeriods(run, ticks), run.interval);
        std::printf("interval %2u ms, handler %d ms: mean %.3f  median %.3f  p99 %.3f  max %.3f  "
                    "mean lateness %.3f ms\n",
                    run.interval, run.work_ms, f.mean, f.median, f.p99, f.max, f.mean_lateness);
        if (run.work_ms == 0)
            idle_p99[run.interval == 10 ? 0 : 1] = f.p99;
    }
    std::printf("p99 10ms=%.3f 15ms=%.3f\n", idle_p99[0], idle_p99[1]);
    return 0;
}
