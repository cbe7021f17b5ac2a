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
    const Transitions& steps = window.screen.transitions;
    ASSERT_TRUE(step_installed(window));

    std::vector<std::pair<int, int>> frames;
    while (step_installed(window)) {
        frames.emplace_back(std::max(steps.bar_left_x, 0), std::max(steps.bar_text_x, 48));
        window.timer1.Timer();
    }
    ASSERT_EQ(frames.size(), 70u);
    const std::vector<std::pair<int, int>> first = {
        {384, 432}, {345, 417}, {310, 403}, {278, 389}, {250, 376}};
    const std::vector<std::pair<int, int>> drawn(frames.begin(), frames.begin() + 5);
    EXPECT_EQ(drawn, first);
    EXPECT_EQ(frames.back(), (std::pair<int, int>(0, 48)));
    EXPECT_EQ(window.screen.ticker.ticker_text, QStringLiteral("Witamy w Kelvox cover menu..."));
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
    EXPECT_EQ(window.screen.transitions.banner_x, 1); // advanced once past the last frame at 0
    EXPECT_EQ(window.screen.ticker.ticker_text, QStringLiteral("Linia pierwsza"));
    EXPECT_TRUE(static_cast<bool>(window.controls.lista.OnMouseMove));
    EXPECT_TRUE(window.controls.przewin_dol.Visible()); // 25 entries: more than fit

    // A list on screen: slide-out, pause, slide-in.
    window.screen.section_bar.select_section(1);
    EXPECT_FALSE(static_cast<bool>(window.controls.lista.OnMouseMove));
    EXPECT_FALSE(window.controls.przewin_dol.Visible());
    // The end of the slide-out resets the pause counter: a value it never has marks the slide-out.
    window.state.delay_ticks = 99;
    std::vector<std::pair<int, int>> out_frames;
    while (window.state.delay_ticks == 99) {
        const Transitions& steps = window.screen.transitions;
        out_frames.emplace_back(std::max(steps.banner_x, -189), std::min(steps.body_y, 408));
        window.timer1.Timer();
    }
    ASSERT_EQ(out_frames.size(), 54u);
    EXPECT_EQ(out_frames[0], (std::pair<int, int>(0, 16)));
    EXPECT_EQ(out_frames[1], (std::pair<int, int>(-1, 17)));
    EXPECT_EQ(out_frames[2], (std::pair<int, int>(-2, 18)));
    EXPECT_EQ(out_frames[52], (std::pair<int, int>(-180, 408)));
    EXPECT_EQ(out_frames[53], (std::pair<int, int>(-189, 408)));
    int pause = 0;
    while (window.screen.transitions.banner_x != -188) {
        window.timer1.Timer();
        ++pause;
        ASSERT_LT(pause, 100);
    }
    EXPECT_EQ(pause, 12);
    EXPECT_EQ(window.screen.transitions.leaving_section_name, QStringLiteral("Programy"));
    EXPECT_EQ(run_timer1_steps(window), 46);
    EXPECT_EQ(window.screen.ticker.ticker_text, QStringLiteral("Linia druga"));
    EXPECT_FALSE(window.controls.przewin_dol.Visible()); // 3 entries fit
}

TEST(ListTransitions, ASectionPressedDuringTheIntroCutsItShortWithoutTheWelcome) {
    WindowFixture fixture(skin_with({{"Gry", 2}}));
    TForm1& window = fixture.open();
    for (int i = 0; i < 10; ++i)
        window.timer1.Timer();
    const int left = window.screen.transitions.bar_left_x;
    window.screen.section_bar.select_section(0);
    run_timer1_steps(window);
    EXPECT_EQ(window.screen.transitions.bar_left_x, left);
    EXPECT_EQ(window.screen.ticker.ticker_text, QStringLiteral("Linia pierwsza"));
}

TEST(ListTransitions, WithAnimationsOffTheListIsShownAtRestAtOnce) {
    WindowFixture fixture(skin_with({{"Gry", 20}}));
    fixture.store_settings(true, false, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();
    run_timer1_steps(window);
    window.screen.ticker.ticker_text = QStringLiteral("bez zmian");
    window.screen.section_bar.select_section(0);
    EXPECT_FALSE(step_installed(window));
    EXPECT_TRUE(static_cast<bool>(window.controls.lista.OnMouseMove));
    EXPECT_TRUE(window.controls.przewin_dol.Visible());
    EXPECT_EQ(window.screen.transitions.leaving_section_name, QStringLiteral("Gry"));
    EXPECT_EQ(window.screen.ticker.ticker_text, QStringLiteral("bez zmian"));
    // The body of the list at rest from line 16: its own colour below the 19 rows, above the bottom edge.
    EXPECT_EQ(fixture.pixel(180, window.controls.lista.Top() + 438), SkinColours::lista_g);
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
