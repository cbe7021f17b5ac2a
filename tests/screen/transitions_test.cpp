#include "tests/support/test_catalogue.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kelvox::test {
namespace {

bool step_installed(TForm1& window) {
    return static_cast<bool>(window.timer1.OnTimer());
}

using Place = std::pair<int, int>;

int first_column(const Canvas& canvas, int y, Colour colour) {
    for (int x = 0; x < canvas.Width(); ++x)
        if (canvas.PixelAt(x, y) == colour)
            return x;
    return -1;
}

// Where the bar's picture has its left piece and its first separator (the test skin's colours).
Place bar_drawn(TForm1& window) {
    const Canvas& bar = window.controls.menu.Canvas();
    return {first_column(bar, 30, 0x004000), first_column(bar, 10, 0x00FFFF)};
}

// Where the list's picture has its banner's left (from its right end on its top line; -188 when gone)
// and its body's top (in the last column, which a banner left of 0 leaves free).
Place list_drawn(TForm1& window) {
    const Canvas& list = window.controls.lista.Canvas();
    int banner_end = 0;
    for (int x = 0; x < 188; ++x)
        if (list.PixelAt(x, 2) == 0x300030)
            banner_end = x + 1;
    int body = -1;
    for (int y = 0; y < list.Height() && body < 0; ++y)
        if (list.PixelAt(187, y) == SkinColours::lista_g)
            body = y;
    return {banner_end - 188, body};
}

QImage list_picture(TForm1& window) {
    return window.controls.lista.Canvas().Target().copy();
}

// Whether the list's picture is the list at rest (its banner over the body's top, where the last
// column cannot tell them apart).
bool list_at_rest(TForm1& window) {
    const QImage shown = list_picture(window);
    window.screen.entry_list.compose_at_rest();
    return list_picture(window) == shown;
}

TestSkinOptions skin_with(const std::vector<TestSection>& sections) {
    TestSkinOptions skin;
    skin.index_xml = catalogue_xml(sections);
    skin.reklamy = "Linia pierwsza\r\nLinia druga\r\nLinia trzecia\r\n";
    return skin;
}

TEST(Intro, BarSlidesInFromTheRightFrameByFrameAndEndsWithTheWelcomeText) {
    WindowFixture fixture;
    fixture.store_settings(false, true, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();
    ASSERT_TRUE(step_installed(window));

    std::vector<Place> frames;
    while (step_installed(window)) {
        window.timer1.Timer();
        frames.push_back(bar_drawn(window));
    }
    ASSERT_EQ(frames.size(), 70u);
    const std::vector<Place> first = {{384, 432}, {345, 417}, {310, 403}, {278, 389}, {250, 376}};
    EXPECT_EQ(std::vector<Place>(frames.begin(), frames.begin() + 5), first);
    EXPECT_EQ(frames.back(), (Place(0, 48)));
    EXPECT_EQ(window.screen.ticker.line(), QStringLiteral("Witamy w Kelvox cover menu..."));
    EXPECT_TRUE(static_cast<bool>(window.scrolltimer.OnTimer()));
}

TEST(Intro, TakesEightyFourFramesOnA1024PixelScreen) {
    WindowFixture fixture;
    fixture.store_settings(true, true, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();
    EXPECT_EQ(run_timer1_steps(window), 84);
}

TEST(ListTransitions, SlideOutPauseAndSlideInTakeTheirFramesAndEndAtRest) {
    WindowFixture fixture(skin_with({{"Gry", 25}, {"Programy", 3}}));
    fixture.store_settings(false, true, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();
    run_timer1_steps(window);

    // No list yet: the first section slides straight in.
    window.screen.section_bar.select_section(0);
    EXPECT_TRUE(window.state.list_shown);
    EXPECT_EQ(run_timer1_steps(window), 46);
    EXPECT_TRUE(list_at_rest(window));
    EXPECT_EQ(window.screen.ticker.line(), QStringLiteral("Linia pierwsza"));
    EXPECT_TRUE(static_cast<bool>(window.controls.lista.OnMouseMove));
    EXPECT_TRUE(window.controls.przewin_dol.Visible()); // 25 entries: more than fit

    // A list on screen: slide-out, pause, slide-in. The slide-out starts from the list as it stood,
    // its name on the banner.
    const QImage at_rest = list_picture(window);
    window.screen.section_bar.select_section(1);
    EXPECT_FALSE(static_cast<bool>(window.controls.lista.OnMouseMove));
    EXPECT_FALSE(window.controls.przewin_dol.Visible());
    // The end of the slide-out resets the pause counter: a value it never has marks the slide-out.
    window.state.delay_ticks = 99;
    std::vector<Place> out_frames;
    while (window.state.delay_ticks == 99) {
        window.timer1.Timer();
        if (out_frames.empty()) {
            EXPECT_EQ(list_picture(window), at_rest);
        }
        out_frames.push_back(list_drawn(window));
    }
    ASSERT_EQ(out_frames.size(), 54u);
    EXPECT_EQ(out_frames[1], (Place(-1, 17)));
    EXPECT_EQ(out_frames[2], (Place(-2, 18)));
    EXPECT_EQ(out_frames[52], (Place(-180, 408)));
    EXPECT_EQ(out_frames[53], (Place(-188, 408)));
    // Twelve ticks of pause draw nothing; the slide-in's first frame is the thirteenth.
    const QImage out = list_picture(window);
    int pause = 0;
    while (list_picture(window) == out && pause < 100) {
        window.timer1.Timer();
        ++pause;
    }
    EXPECT_EQ(pause, 13);
    EXPECT_EQ(run_timer1_steps(window), 45);
    EXPECT_TRUE(list_at_rest(window));
    EXPECT_EQ(window.screen.ticker.line(), QStringLiteral("Linia druga"));
    EXPECT_FALSE(window.controls.przewin_dol.Visible()); // 3 entries fit

    // The next change slides out the list just shown, with its own name.
    const QImage second_at_rest = list_picture(window);
    window.screen.section_bar.select_section(0);
    window.timer1.Timer();
    EXPECT_EQ(list_picture(window), second_at_rest);
}

TEST(ListTransitions, ASectionPressedDuringTheIntroCutsItShortWithoutTheWelcome) {
    WindowFixture fixture(skin_with({{"Gry", 2}}));
    TForm1& window = fixture.open();
    for (int i = 0; i < 10; ++i)
        window.timer1.Timer();
    const Place bar = bar_drawn(window);
    window.screen.section_bar.select_section(0);
    run_timer1_steps(window);
    EXPECT_EQ(bar_drawn(window), bar); // the bar stays where the intro left it
    EXPECT_EQ(window.screen.ticker.line(), QStringLiteral("Linia pierwsza"));
}

TEST(ListTransitions, WithAnimationsOffTheListIsShownAtRestAtOnce) {
    WindowFixture fixture(skin_with({{"Gry", 20}}));
    fixture.store_settings(true, false, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();
    run_timer1_steps(window);
    window.screen.ticker.restart_ticker(QStringLiteral("bez zmian"));
    window.screen.section_bar.select_section(0);
    EXPECT_FALSE(step_installed(window));
    EXPECT_TRUE(static_cast<bool>(window.controls.lista.OnMouseMove));
    EXPECT_TRUE(window.controls.przewin_dol.Visible());
    EXPECT_EQ(window.screen.ticker.line(), QStringLiteral("bez zmian"));
    // The body of the list at rest from line 16: its own colour below the 19 rows, above the bottom edge.
    EXPECT_EQ(fixture.pixel(180, window.controls.lista.Top() + 438), SkinColours::lista_g);
    // Animations switched on afterwards: the list slides out from where it stood, its name on the banner.
    const QImage at_rest = list_picture(window);
    window.state.animations = true;
    window.screen.section_bar.select_section(0);
    window.timer1.Timer();
    EXPECT_EQ(list_picture(window), at_rest);
}

TEST(Background, MovingOverTheBackgroundClearsHighlightsAndLitButtons) {
    WindowFixture fixture(skin_with({{"Gry", 2}}));
    TForm1& window = fixture.open();
    run_timer1_steps(window);
    SectionBar& bar = window.screen.section_bar;
    const int close_x = 188 + bar.bar_width() - 128 + 60;
    const int close_y = window.state.content_top + 29 + 10;
    bar.menuMouseMove(bar.bar_width() - 50, 8);
    ASSERT_EQ(fixture.pixel(close_x, close_y), 0x222222u); // the close button lit
    window.controls.menuzaznak.Show();
    window.controls.listazaznak.Show();
    window.state.entry_armed = true;
    fixture.window->DispatchMouseMove(500, 700);
    EXPECT_FALSE(window.controls.menuzaznak.Visible());
    EXPECT_FALSE(window.controls.listazaznak.Visible());
    EXPECT_EQ(fixture.pixel(close_x, close_y), 0x333333u);
    EXPECT_FALSE(window.state.entry_armed);
    // Nothing lit any more: a press on the bar closes nothing.
    bar.menuClick();
    EXPECT_FALSE(fixture.services.application.Terminated());
}

} // namespace
} // namespace kelvox::test
