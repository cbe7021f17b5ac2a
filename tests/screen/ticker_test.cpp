#include "tests/support/test_catalogue.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <optional>

namespace kelvox::test {
namespace {

bool ticking(TForm1& window) {
    return static_cast<bool>(window.scrolltimer.OnTimer());
}

// Whether the strip's picture is the text drawn whole at (x, y) on its ground, in the colour given
// (else in the one it was drawn in).
bool strip_shows(Ticker& ticker, const QString& text, int x, int y, std::optional<Colour> colour = {}) {
    const Canvas& strip = ticker.strip().Canvas();
    Bitmap whole;
    whole.SetSize(strip.Width(), strip.Height());
    whole.Canvas().font = strip.font;
    if (colour)
        whole.Canvas().font.colour = *colour;
    whole.Canvas().brush = strip.brush;
    whole.Canvas().FillRect({0, 0, strip.Width(), strip.Height()});
    whole.Canvas().TextOut(x, y, text);
    return whole.Canvas().Target() == strip.Target();
}

TEST(Ticker, ALineDropsInBrighteningThenRunsLeftDarkeningAndLeaves) {
    WindowFixture fixture;
    TForm1& window = fixture.open();
    Ticker& ticker = window.screen.ticker;
    const QString text = QStringLiteral("Nowości na płycie");
    ticker.restart_ticker(text);
    EXPECT_EQ(ticker.line(), text);
    const int width = window.screen.ticker.strip().Canvas().TextWidth(text);
    const int start = window.controls.scroll.Width() - width;

    window.scrolltimer.Timer();
    EXPECT_TRUE(strip_shows(ticker, text, start, -21, 0x003900));
    for (int i = 1; i < 20; ++i)
        window.scrolltimer.Timer();
    EXPECT_TRUE(strip_shows(ticker, text, start, -2, 0x00AB00));

    // One pixel left a tick; from the left edge on, one step darker a tick.
    int ticks = 0;
    while (ticking(window) && ticks < 5000) {
        window.scrolltimer.Timer();
        ++ticks;
        if (ticks == start) {
            EXPECT_TRUE(strip_shows(ticker, text, 0, -2, 0x00AA00));
        }
        if (ticks == start + 100) {
            EXPECT_TRUE(strip_shows(ticker, text, -100, -2, 0x00AA00 - 100 * 0x000100));
        }
    }
    EXPECT_FALSE(ticking(window));
    EXPECT_EQ(ticks, window.controls.scroll.Width() + 1); // gone: its right end left of the strip
}

TEST(Ticker, ALineFarWiderThanTheStripShowsAsIfDrawnWhole) {
    WindowFixture fixture;
    TForm1& window = fixture.open();
    Ticker& ticker = window.screen.ticker;
    const QString text = QStringLiteral("Nowe gry i programy na płycie! ").repeated(300);
    ticker.restart_ticker(text);
    const Canvas& strip = window.screen.ticker.strip().Canvas();
    ASSERT_GT(strip.TextWidth(text), 10 * strip.Width());
    // Drop-in, running, and darker (a line this wide darkens from its first run tick, black after 171).
    const int start = strip.Width() - strip.TextWidth(text);
    struct Frame {
        int ticks, x, y;
    };
    int ticked = 0;
    for (const Frame f : {Frame{1, start, -21}, Frame{26, start - 6, -2}, Frame{146, start - 126, -2}}) {
        for (; ticked < f.ticks; ++ticked)
            window.scrolltimer.Timer();
        EXPECT_TRUE(strip_shows(ticker, text, f.x, f.y)) << "after " << f.ticks << " ticks";
    }
}

TEST(Ticker, TheWipeHoldsThenMovesTheStripDownTwentyThreeTimes) {
    WindowFixture fixture;
    TForm1& window = fixture.open();
    window.controls.scroll.Canvas().brush = {0x00FF00, BrushStyle::Solid};
    window.controls.scroll.Canvas().FillRect({0, 0, 1024, 22});
    window.screen.ticker.start_wipe();
    for (int i = 0; i < 150; ++i)
        window.scrolltimer.Timer();
    EXPECT_EQ(fixture.pixel(10, window.controls.scroll.Top() + 2), 0x00FF00u);
    int moves = 0;
    while (ticking(window) && moves < 100) {
        window.scrolltimer.Timer();
        ++moves;
        if (moves == 3) { // moved by 0, 1 and 2: three black rows at the top
            EXPECT_EQ(fixture.pixel(10, window.controls.scroll.Top() + 2), 0u);
        }
    }
    EXPECT_EQ(moves, 23);
    EXPECT_EQ(fixture.pixel(10, window.controls.scroll.Top() + 21), 0u);
}

TEST(Ticker, A256LineFileStillGivesEverySectionItsLine) {
    TestSkinOptions skin;
    skin.index_xml = catalogue_xml({{"Gry", 1}});
    QByteArray lines;
    for (int i = 0; i < 256; ++i)
        lines += "Linia " + QByteArray::number(i) + "\r\n";
    skin.reklamy = lines;
    WindowFixture fixture(skin);
    TForm1& window = fixture.open();
    EXPECT_EQ(window.screen.ticker.line_count(), 256);
    run_timer1_steps(window);
    window.screen.section_bar.select_section(0);
    run_timer1_steps(window);
    EXPECT_EQ(window.screen.ticker.line(), QStringLiteral("Linia 0"));
}

TEST(Ticker, ASectionWithoutALineLeavesTheTickerAsItIs) {
    TestSkinOptions skin;
    skin.index_xml = catalogue_xml({{"A", 1}, {"B", 1}, {"C", 1}});
    skin.reklamy = "Tylko A\r\n";
    WindowFixture fixture(skin);
    TForm1& window = fixture.open();
    run_timer1_steps(window);
    window.screen.section_bar.select_section(2);
    run_timer1_steps(window);
    EXPECT_EQ(window.screen.ticker.line(), QStringLiteral("Witamy w Kelvox cover menu..."));
}

} // namespace
} // namespace kelvox::test
