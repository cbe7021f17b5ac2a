#include "tests/support/test_catalogue.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

namespace kelvox::test {
namespace {

// A window with one section of n entries shown at rest (animations off).
class ListWindow {
public:
    explicit ListWindow(int entries) : fixture(skin(entries)) {
        fixture.store_settings(true, false, false, QStringLiteral("tapeta.bmp"), false);
        window = &fixture.open();
        run_timer1_steps(*window);
        window->screen.section_bar.select_section(0);
    }
    static TestSkinOptions skin(int entries) {
        TestSkinOptions options;
        options.index_xml = catalogue_xml({{"Lista", entries}});
        return options;
    }
    // The rows that light under the pointer, counted from the top.
    int lit_rows() {
        int rows = 0;
        while (rows <= EntryList::kMaxRows && light_row(rows))
            ++rows;
        return rows;
    }
    bool light_row(int row) {
        window->controls.listazaznak.Hide();
        window->screen.entry_list.listaMouseMove(50, 57 + 20 * row);
        return window->controls.listazaznak.Visible();
    }
    // The entry the first row shows.
    int first_shown() {
        window->screen.entry_list.listaMouseMove(50, 60);
        return window->screen.entry_list.hovered_entry();
    }
    WindowFixture fixture;
    TForm1* window;
};

TEST(EntryListScrolling, TheScrollDownButtonAppearsOnlyWhenEntriesDoNotFit) {
    struct Case {
        int entries;
        bool down_shown;
        int rows;
    };
    for (const Case c : {Case{0, false, 0}, Case{19, false, 19}, Case{20, true, 19}, Case{25, true, 19}}) {
        SCOPED_TRACE(c.entries);
        ListWindow list(c.entries);
        EXPECT_EQ(list.window->controls.przewin_dol.Visible(), c.down_shown);
        EXPECT_FALSE(list.window->controls.przewin_gora.Visible());
        EXPECT_EQ(list.lit_rows(), c.rows);
    }
}

TEST(EntryListScrolling, TwentyFiveEntriesTakeSixPressesToReachTheEnd) {
    ListWindow list(25);
    TForm1& window = *list.window;
    int presses = 0;
    while (window.controls.przewin_dol.Visible() && presses < 30) {
        list.fixture.window->DispatchMouseDown(window.controls.przewin_dol.Left() + 5,
                                               window.controls.przewin_dol.Top() + 5);
        list.fixture.window->DispatchMouseUp(window.controls.przewin_dol.Left() + 5,
                                             window.controls.przewin_dol.Top() + 5);
        ++presses;
        EXPECT_TRUE(window.controls.przewin_gora.Visible());
    }
    EXPECT_EQ(presses, 6);
    EXPECT_EQ(list.first_shown(), 6);
    EXPECT_EQ(list.lit_rows(), 19);
    // A press that still arrives changes nothing.
    window.screen.entry_list.przewin_dolMouseDown();
    EXPECT_EQ(list.first_shown(), 6);

    while (window.controls.przewin_gora.Visible())
        window.screen.entry_list.przewin_goraMouseDown();
    EXPECT_EQ(list.first_shown(), 0);
    EXPECT_TRUE(window.controls.przewin_dol.Visible());
}

TEST(EntryListHover, RowsLightFromTheirFirstPixelLineAndNotWhileAStepRuns) {
    ListWindow list(5);
    TForm1& window = *list.window;
    EntryList& entries = window.screen.entry_list;
    struct Case {
        int y;
        bool lit;
        int row;
    };
    for (const Case c : {Case{56, false, 0}, Case{57, true, 0}, Case{75, true, 0}, Case{76, true, 1},
                         Case{155, true, 4}, Case{156, false, 0}}) {
        SCOPED_TRACE(c.y);
        window.controls.listazaznak.Hide();
        list.fixture.window->DispatchMouseMove(50, window.controls.lista.Top() + c.y);
        EXPECT_EQ(window.controls.listazaznak.Visible(), c.lit);
        if (c.lit) {
            EXPECT_EQ(entries.hovered_entry(), c.row);
            EXPECT_EQ(window.controls.listazaznak.Top(), window.controls.lista.Top() + 56 + 20 * c.row);
        }
    }
    window.timer1.SetOnTimer([](TThreadedTimer*) {});
    window.controls.listazaznak.Hide();
    entries.listaMouseMove(50, 60);
    EXPECT_FALSE(window.controls.listazaznak.Visible());
}

TEST(EntryListHover, TheRowHighlightInvertsTheRowAndLeavingALitButtonRestoresIt) {
    ListWindow list(25);
    TForm1& window = *list.window;
    const int x = 100;
    const int y = window.controls.lista.Top() + 56 + 5;
    const uint32_t before = list.fixture.pixel(x, y);
    window.screen.entry_list.listaMouseMove(x, 61);
    EXPECT_EQ(list.fixture.pixel(x, y), before ^ 0xFFFFFF);

    const int bx = window.controls.przewin_dol.Left() + 10;
    const int by = window.controls.przewin_dol.Top() + 10;
    window.screen.entry_list.przewin_dolMouseMove();
    EXPECT_EQ(list.fixture.pixel(bx, by), 0x006600u);
    window.screen.entry_list.listaMouseMove(x, 61);
    EXPECT_EQ(list.fixture.pixel(bx, by), 0x003300u);
}

TEST(EntryListRebuild, ARebuildEmptiesTheListAndTakesItsHoverAndButtonsAway) {
    ListWindow list(25);
    TForm1& window = *list.window;
    ASSERT_TRUE(window.controls.przewin_dol.Visible());
    window.build_screen();
    EXPECT_FALSE(static_cast<bool>(window.controls.lista.OnMouseMove));
    EXPECT_FALSE(window.controls.przewin_dol.Visible());
    EXPECT_FALSE(window.controls.przewin_gora.Visible());
    EXPECT_FALSE(window.state.list_shown);
}

} // namespace
} // namespace kelvox::test
