// The ticker's cost per tick against the length of its line: a whole window on fakes (offscreen), a
// line of 100 B, 100 KB and 1 MB run through its restart and its ticks. The last line compares the
// tick of the longest line with the tick of the shortest (the cost must not grow with the length) and
// gives every tick and restart side by side.
#include "tests/support/window_fixture.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace kelvox;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Costs {
    double restart_ms;
    double tick_us;
};

Costs measure(TForm1& window, const QString& line) {
    QElapsedTimer clock;
    clock.start();
    window.screen.ticker.restart_ticker(line);
    const double restart_ms = double(clock.nsecsElapsed()) / 1e6;
    std::vector<double> ticks;
    // The 20 drop-in ticks and as many run ticks as a second and a half of running.
    for (int i = 0; i < 120 && window.scrolltimer.OnTimer(); ++i) {
        clock.restart();
        window.scrolltimer.Timer();
        ticks.push_back(double(clock.nsecsElapsed()) / 1e3);
    }
    return {restart_ms, median(ticks)};
}

} // namespace

int main() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    test::test_application();
    test::WindowFixture fixture;
    TForm1& window = fixture.open();
    const struct {
        const char* name;
        qsizetype length;
    } lines[] = {{"100 B", 100}, {"100 KB", 100 * 1000}, {"1 MB", 1000 * 1000}};
    std::vector<Costs> costs;
    for (const auto& line : lines) {
        const QString text = QStringLiteral("Nowe gry i programy na płycie! ")
                                 .repeated(line.length / 31 + 1)
                                 .left(line.length);
        costs.push_back(measure(window, text));
        std::printf("line of %-6s: restart %.2f ms, median tick %.1f us\n", line.name,
                    costs.back().restart_ms, costs.back().tick_us);
    }
    std::printf("tick 1 MB / tick 100 B = %.2f (ticks %.1f / %.1f / %.1f us, restarts %.2f / %.2f / %.2f ms "
                "for 100 B / 100 KB / 1 MB)\n",
                costs[2].tick_us / costs[0].tick_us, costs[0].tick_us, costs[1].tick_us, costs[2].tick_us,
                costs[0].restart_ms, costs[1].restart_ms, costs[2].restart_ms);
    return 0;
}
