#include "tests/support/test_catalogue.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

namespace kelvox::test {
namespace {

bool ticking(TForm1& window) {
    return static_cast<bool>(window.scrolltimer.OnTimer());
}

TEST(Ticker, ALineDropsInBrighteningThenRunsLeftDarkeningAndLeaves) {
    WindowFixture fixture;
    TForm1& window = fixture.open();
    Ticker& ticker = window.screen.ticker;
    const QString text = QStringLiteral("Nowości na płycie");
    ticker.restart_ticker(text);
    const int width = window.screen.ticker.strip().Canvas().TextWidth(text);
    EXPECT_EQ(ticker.ticker_x, window.controls.scroll.Width() - width);
    EXPECT_EQ(ticker.ticker_y, -22);

    window.scrolltimer.Timer();
    EXPECT_EQ(ticker.ticker_y, -21);
    EXPECT_EQ(ticker.ticker_colour, 0x003900u);
    for (int i = 1; i < 20; ++i)
        window.scrolltimer.Timer();
    EXPECT_EQ(ticker.ticker_y, -2);
    EXPECT_EQ(ticker.ticker_colour, 0x00AB00u);
    EXPECT_EQ(ticker.ticker_x, window.controls.scroll.Width() - width);

    int ticks = 0;
    while (ticking(window) && ticks < 5000) {
        window.scrolltimer.Timer();
        ++ticks;
        if (ticker.ticker_x == 0) {
            EXPECT_EQ(ticker.ticker_colour, 0x00AA00u);
        }
    }
    EXPECT_FALSE(ticking(window));
    EXPECT_EQ(ticker.ticker_x, -width - 1);
    EXPECT_EQ(ticks, window.controls.scroll.Width() + 1);
    EXPECT_EQ(ticker.ticker_colour, 0u); // darkened to black on its way out
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
    for (int tick : {1, 25, 120}) {
        while (tick-- > 0)
            window.scrolltimer.Timer();
        Bitmap whole;
        whole.SetSize(strip.Width(), strip.Height());
        whole.Canvas().font = strip.font;
        whole.Canvas().brush = strip.brush;
        whole.Canvas().FillRect({0, 0, strip.Width(), strip.Height()});
        whole.Canvas().TextOut(ticker.ticker_x, ticker.ticker_y, text);
        int differing = 0;
        for (int y = 0; y < strip.Height(); ++y)
            for (int x = 0; x < strip.Width(); ++x)
                differing += whole.Canvas().PixelAt(x, y) != strip.PixelAt(x, y);
        EXPECT_EQ(differing, 0) << "at x " << ticker.ticker_x;
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
    EXPECT_EQ(window.screen.ticker.ticker_y, 0);
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
    EXPECT_EQ(window.screen.ticker.ticker_text, QStringLiteral("Linia 0"));
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
    EXPECT_EQ(window.screen.ticker.ticker_text, QStringLiteral("Witamy w Kelvox cover menu..."));
}

} // namespace
} // namespace kelvox::test
