#include "tests/support/test_catalogue.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

namespace kelvox::test {
namespace {

class SectionBarTest : public testing::Test {
protected:
    SectionBarTest() : fixture(skin()) {
        fixture.store_settings(false, true, false, QStringLiteral("tapeta.bmp"), false);
        window = &fixture.open();
        run_timer1_steps(*window);
    }
    static TestSkinOptions skin() {
        TestSkinOptions options;
        options.index_xml = catalogue_xml({{"Gry", 3}, {"Programy", 3}});
        return options;
    }
    int width_of(const char* name) const {
        return window->screen.section_bar.canvas().Canvas().TextWidth(QString::fromLatin1(name));
    }
    WindowFixture fixture;
    TForm1* window;
};

TEST_F(SectionBarTest, NamesAreHitWithinTheirSpansAndTheSeparatorBetweenMatchesNeither) {
    SectionBar& bar = window->screen.section_bar;
    Shape& highlight = window->controls.menuzaznak;
    const int w0 = width_of("Gry");
    const int w1 = width_of("Programy");
    const int second = 48 + w0 + 22;

    // Exactly on the separator, with no name's span kept yet: neither name.
    bar.menuMouseMove(second, 10);
    EXPECT_FALSE(highlight.Visible());

    bar.menuMouseMove(48 + 5, 10);
    EXPECT_TRUE(highlight.Visible());
    EXPECT_EQ(highlight.Left(), 188 + 48 + 1);
    EXPECT_EQ(highlight.Width(), w0 + 23);
    EXPECT_EQ(highlight.Top(), window->state.content_top + 28);

    // Below line 20 the highlight goes; back above, the kept span finds the section again.
    bar.menuMouseMove(48 + 5, 21);
    EXPECT_FALSE(highlight.Visible());
    bar.menuMouseMove(48 + 6, 20);
    EXPECT_TRUE(highlight.Visible());

    bar.menuMouseMove(second + 3, 10);
    EXPECT_EQ(highlight.Left(), 188 + second + 1);
    EXPECT_EQ(highlight.Width(), w1 + 23);

    // Right of the last section: the highlight stays where it was; pressing selects that section.
    bar.menuMouseMove(48 + 5, 10);
    bar.menuMouseMove(second + w1 + 22 + 30, 10);
    EXPECT_TRUE(highlight.Visible());
    EXPECT_EQ(highlight.Left(), 188 + 48 + 1);
    fixture.window->DispatchMouseDown(highlight.Left() + 2, highlight.Top() + 2);
    EXPECT_EQ(window->state.selected_section_name, QStringLiteral("Gry"));
    bar.menuMouseMove(second + 3, 10);
    fixture.window->DispatchMouseDown(highlight.Left() + 2, highlight.Top() + 2);
    EXPECT_EQ(window->state.selected_section, 1);
    EXPECT_EQ(window->state.selected_section_name, QStringLiteral("Programy"));
}

TEST_F(SectionBarTest, TheHighlightInvertsInsideItsBorder) {
    SectionBar& bar = window->screen.section_bar;
    const uint32_t before_inside = fixture.pixel(188 + 48 + 5, window->state.content_top + 28 + 10);
    const uint32_t before_border = fixture.pixel(188 + 48 + 1, window->state.content_top + 28 + 10);
    bar.menuMouseMove(48 + 5, 10);
    EXPECT_EQ(fixture.pixel(188 + 48 + 5, window->state.content_top + 28 + 10), before_inside ^ 0xFFFFFF);
    EXPECT_EQ(fixture.pixel(188 + 48 + 1, window->state.content_top + 28 + 10), before_border);
}

TEST_F(SectionBarTest, WindowButtonsLightWithinTheirOpenSpans) {
    SectionBar& bar = window->screen.section_bar;
    const int wb = bar.bar_width();
    const int button_x = 188 + wb - 128 + 60;
    const int button_y = window->state.content_top + 29 + 10;
    // The cell drawn tells which button is lit: 0x111111 minimise, 0x222222 close, 0x333333 none.
    struct Case {
        int x, y;
        uint32_t cell_colour;
    };
    const Case cases[] = {
        {wb - 97, 3, 0x111111},  {wb - 69, 14, 0x111111}, {wb - 98, 8, 0x333333}, {wb - 80, 2, 0x333333},
        {wb - 80, 15, 0x333333}, {wb - 61, 8, 0x222222},  {wb - 37, 8, 0x222222}, {wb - 36, 8, 0x333333},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << " y " << c.y);
        bar.menuMouseMove(c.x, c.y);
        EXPECT_FALSE(window->controls.menuzaznak.Visible());
        EXPECT_EQ(fixture.pixel(button_x, button_y), c.cell_colour);
    }
}

TEST_F(SectionBarTest, TheCloseButtonClosesTheWindowAndEndsTheApplication) {
    SectionBar& bar = window->screen.section_bar;
    bar.menuClick(); // nothing lit: nothing happens
    EXPECT_FALSE(fixture.services.application.Terminated());
    bar.menuMouseMove(bar.bar_width() - 50, 8);
    bar.menuClick();
    EXPECT_EQ(fixture.fonts.registered, 0);
    EXPECT_FALSE(window->timer1.Enabled());
    EXPECT_TRUE(fixture.services.application.Terminated());
}

} // namespace
} // namespace kelvox::test
