// The menu from the keyboard and the wheel, on the whole window: each area's keys, the moves between
// areas, scrolling past the list's ends, and the arming of an entry.
#include "tests/support/test_catalogue.h"
#include "tests/support/test_entries.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

namespace kelvox::test {
namespace {

// A window at rest (animations off) on two sections, the first with `entries` text files, the second
// with one program whose description has three pictures.
class KeyboardWindow {
public:
    explicit KeyboardWindow(int entries = 25) : fixture(skin(entries)) {
        QStringList pictures;
        for (int i = 0; i < 3; ++i) {
            pictures << QStringLiteral("gry\\p%1.jpg").arg(i);
            fixture.disc.write(QStringLiteral("gry/p%1.jpg").arg(i),
                               flat_jpeg(64, 48, QColor(60 * i, 90, 90)));
        }
        fixture.disc.write(QStringLiteral("gry/info.xml"),
                           info_xml(QStringLiteral("Gra"), QStringLiteral("Opis"), QStringLiteral("Pentium"),
                                    pictures, QStringLiteral("demo")));
        fixture.store_settings(true, false, false, QStringLiteral("tapeta.bmp"), false);
        window = &fixture.open();
        run_timer1_steps(*window);
    }
    static TestSkinOptions skin(int entries) {
        TestSkinOptions options;
        QByteArray xml = catalogue_xml({{QStringLiteral("Lista"), entries}});
        xml.replace("</menu>",
                    "<nazwa>Gry</nazwa><nazwa_e>Gra</nazwa_e><sciezka_exe>gry\\gra.exe</sciezka_exe>"
                    "<sciezka>gry</sciezka></menu>");
        options.index_xml = xml;
        return options;
    }
    // The keys, each followed by the animation steps it started, as timer1 would run them.
    void keys(std::initializer_list<int> pressed, ShiftState shift = 0) {
        for (const int key : pressed) {
            window->DispatchKeyDown(key, shift);
            run_timer1_steps(*window);
        }
    }
    KeyboardArea area() const { return window->state.keyboard_area; }
    int item() const { return window->state.keyboard_item; }
    const Control& row_highlight() const { return window->controls.listazaznak; }
    // The row the list's highlight stands on, counted from the first visible one.
    int highlighted_row() const { return (row_highlight().Top() - window->controls.lista.Top() - 56) / 20; }
    int first_visible() const { return window->screen.entry_list.first_visible(); }

    WindowFixture fixture;
    TForm1* window;
};

TEST(KeyboardSectionBar, ArrowsLightTheSectionsAsThePointerDoesAndEnterSelectsOne) {
    KeyboardWindow menu;
    TForm1& window = *menu.window;
    EXPECT_EQ(menu.area(), KeyboardArea::SectionBar);
    EXPECT_FALSE(window.controls.menuzaznak.Visible());

    // Where the pointer lights the second name is where the keyboard must light it.
    window.screen.section_bar.menuMouseMove(48 + 1, 10);
    const Rect first = window.controls.menuzaznak.BoundsRect();
    window.controls.menuzaznak.Hide();

    menu.keys({kVirtualKeyLeft});
    EXPECT_EQ(window.controls.menuzaznak.BoundsRect(), first) << "the first Left or Right lights the first";
    menu.keys({kVirtualKeyRight, kVirtualKeyRight, kVirtualKeyRight});
    EXPECT_EQ(menu.item(), 1) << "no further than the last section";
    EXPECT_EQ(window.controls.menuzaznak.Left(), first.right - 1) << "the second span follows the first";
    EXPECT_TRUE(window.controls.menuzaznak.Visible());

    menu.keys({kVirtualKeyReturn});
    EXPECT_EQ(window.state.selected_section, 1);
    EXPECT_TRUE(window.state.list_shown);
    EXPECT_EQ(menu.area(), KeyboardArea::EntryList);
    EXPECT_FALSE(window.controls.menuzaznak.Visible());
    EXPECT_FALSE(menu.row_highlight().Visible()) << "the list is reached with no row lit";
}

TEST(KeyboardEntryList, RowsMoveAndScrollByOneByAPageAndToTheEnds) {
    KeyboardWindow menu(25);
    TForm1& window = *menu.window;
    menu.keys({kVirtualKeyRight, kVirtualKeySpace, kVirtualKeyDown});
    EXPECT_TRUE(menu.row_highlight().Visible());
    EXPECT_EQ(menu.highlighted_row(), 0);

    for (int i = 0; i < 18; ++i)
        menu.keys({kVirtualKeyDown});
    EXPECT_EQ(menu.highlighted_row(), 18);
    EXPECT_EQ(menu.first_visible(), 0);
    EXPECT_FALSE(window.controls.przewin_gora.Visible());
    menu.keys({kVirtualKeyDown});
    EXPECT_EQ(menu.item(), 19);
    EXPECT_EQ(menu.first_visible(), 1) << "past the last row the list scrolls by one";
    EXPECT_EQ(menu.highlighted_row(), 18);
    EXPECT_TRUE(window.controls.przewin_gora.Visible());

    menu.keys({kVirtualKeyEnd});
    EXPECT_EQ(menu.item(), 24);
    EXPECT_EQ(menu.first_visible(), 6);
    EXPECT_FALSE(window.controls.przewin_dol.Visible());
    menu.keys({kVirtualKeyDown, kVirtualKeyPageUp});
    EXPECT_EQ(menu.item(), 5);
    EXPECT_EQ(menu.first_visible(), 5);
    EXPECT_EQ(menu.highlighted_row(), 0);
    menu.keys({kVirtualKeyPageDown});
    EXPECT_EQ(menu.item(), 24);
    menu.keys({kVirtualKeyHome, kVirtualKeyUp});
    EXPECT_EQ(menu.item(), 0);
    EXPECT_EQ(menu.first_visible(), 0);
    EXPECT_FALSE(window.controls.przewin_gora.Visible());
    EXPECT_TRUE(window.controls.przewin_dol.Visible());
}

TEST(KeyboardEntryList, EnterSelectsThenActivatesAndMovingTheHighlightDisarms) {
    KeyboardWindow menu(3);
    TForm1& window = *menu.window;
    // From the start: Right, Enter, Down, Enter, Enter opens the first entry of the first section.
    menu.keys({kVirtualKeyRight, kVirtualKeyReturn, kVirtualKeyDown, kVirtualKeyReturn});
    EXPECT_EQ(window.state.shown_entry, 0);
    EXPECT_TRUE(menu.fixture.launcher.calls.empty());
    menu.keys({kVirtualKeyReturn});
    ASSERT_EQ(menu.fixture.launcher.calls.size(), 1u);
    EXPECT_EQ(menu.fixture.launcher.calls[0].file, QStringLiteral("plik0.txt"));

    menu.keys({kVirtualKeyDown, kVirtualKeyReturn, kVirtualKeyUp, kVirtualKeyDown, kVirtualKeyReturn});
    EXPECT_EQ(window.state.shown_entry, 1);
    EXPECT_EQ(menu.fixture.launcher.calls.size(), 1u) << "moving away and back disarmed the entry";
}

TEST(KeyboardDetailPanel, ArrowsSwitchPicturesSpaceViewsAndEnterRuns) {
    KeyboardWindow menu(3);
    TForm1& window = *menu.window;
    menu.keys({kVirtualKeyRight, kVirtualKeyRight, kVirtualKeyReturn, kVirtualKeyDown, kVirtualKeyReturn});
    ASSERT_TRUE(window.state.panel_shown);
    menu.keys({kVirtualKeyTab});
    EXPECT_EQ(menu.area(), KeyboardArea::DetailPanel);
    const int frame_left = window.controls.screenzaznak.Left();
    menu.keys({kVirtualKeyRight, kVirtualKeyRight});
    EXPECT_EQ(window.controls.screenzaznak.Left(), frame_left + 32);
    menu.keys({kVirtualKeyLeft});
    EXPECT_EQ(window.controls.screenzaznak.Left(), frame_left + 16);
    menu.keys({kVirtualKeySpace});
    EXPECT_EQ(menu.fixture.modal.runs, 1);
    menu.keys({kVirtualKeyReturn});
    ASSERT_EQ(menu.fixture.launcher.calls.size(), 1u);
    EXPECT_EQ(menu.fixture.launcher.calls[0].file, QStringLiteral("gra.exe"));
}

TEST(KeyboardAreas, TabPassesOverWhatIsNotShownAndNoKeyClosesTheMenu) {
    KeyboardWindow menu;
    TForm1& window = *menu.window;
    menu.keys({kVirtualKeyTab});
    EXPECT_EQ(menu.area(), KeyboardArea::SettingsDrawer) << "no list and no panel yet";
    EXPECT_TRUE(window.state.settings_open);
    menu.keys({kVirtualKeyTab});
    EXPECT_EQ(menu.area(), KeyboardArea::SectionBar);
    EXPECT_FALSE(window.state.settings_open);
    menu.keys({kVirtualKeyTab}, kShiftKey);
    EXPECT_EQ(menu.area(), KeyboardArea::SettingsDrawer);
    menu.keys({kVirtualKeyTab, kVirtualKeyRight, kVirtualKeyReturn, kVirtualKeyTab});
    EXPECT_EQ(menu.area(), KeyboardArea::SettingsDrawer) << "a list without a panel";
    menu.keys({kVirtualKeyTab}, kShiftKey);
    EXPECT_EQ(menu.area(), KeyboardArea::EntryList);

    for (const KeyboardArea area :
         {KeyboardArea::SectionBar, KeyboardArea::EntryList, KeyboardArea::SettingsDrawer})
        for (const int key : {kVirtualKeyEscape, int('Q'), int('X'), 0}) {
            while (menu.area() != area)
                menu.keys({kVirtualKeyTab});
            menu.keys({key}, kAltKey);
            menu.keys({key});
            ASSERT_FALSE(window.Closed()) << key;
        }
    EXPECT_FALSE(window.Minimized());
}

TEST(KeyboardSettingsDrawer, RowsTakeAFrameWhileTheKeyboardIsThereAndEnterActs) {
    KeyboardWindow menu;
    TForm1& window = *menu.window;
    menu.keys({kVirtualKeyTab}, kShiftKey);
    ASSERT_TRUE(window.state.settings_open);
    const QImage before = window.ComposeFrame();
    menu.keys({kVirtualKeyDown, kVirtualKeyDown});
    EXPECT_EQ(menu.item(), 1);
    // The frame around the animations row's tick area: its corner inverted, its inside untouched.
    const int left = window.controls.ustawienia.Left();
    const int top = window.controls.ustawienia.Top();
    EXPECT_EQ(window.ComposeFrame().pixel(left + 122, top + 33),
              before.pixel(left + 122, top + 33) ^ 0xFFFFFFu);
    EXPECT_EQ(window.ComposeFrame().pixel(left + 124, top + 35), before.pixel(left + 124, top + 35));

    menu.keys({kVirtualKeyReturn});
    EXPECT_TRUE(window.state.animations);
    menu.keys({kVirtualKeySpace});
    EXPECT_FALSE(window.state.animations);

    menu.keys({kVirtualKeyUp, kVirtualKeyUp, kVirtualKeyUp});
    EXPECT_EQ(menu.item(), 0);
    // The pointer takes over: the frame goes.
    window.DispatchMouseMove(left + 60, top + 200);
    EXPECT_EQ(window.ComposeFrame().pixel(left + 122, top + 17), before.pixel(left + 122, top + 17));

    menu.keys({kVirtualKeyEscape});
    EXPECT_FALSE(window.state.settings_open);
    EXPECT_EQ(menu.area(), KeyboardArea::SectionBar);
    EXPECT_TRUE(menu.fixture.messages.confirmed.isEmpty());
    menu.keys({kVirtualKeyTab}, kShiftKey);
    menu.keys({kVirtualKeyUp, kVirtualKeyReturn});
    EXPECT_EQ(menu.fixture.messages.confirmed.size(), 1) << "the save row asks first";
}

TEST(MouseWheel, ANotchScrollsTheListByOneRowOnlyWhenThereIsMoreToSee) {
    for (const int entries : {19, 25}) {
        SCOPED_TRACE(entries);
        KeyboardWindow menu(entries);
        TForm1& window = *menu.window;
        const auto turn = [&window](int notches) {
            window.DispatchMouseWheel(window.controls.lista.Left() + 50, window.controls.lista.Top() + 100,
                                      notches);
        };
        turn(-1);
        EXPECT_EQ(menu.first_visible(), 0) << "no list yet";
        window.screen.section_bar.select_section(0);
        turn(-1);
        EXPECT_EQ(menu.first_visible(), entries > 19 ? 1 : 0);
        EXPECT_EQ(window.controls.przewin_gora.Visible(), entries > 19);
        turn(-10);
        EXPECT_EQ(menu.first_visible(), entries - 19);
        EXPECT_FALSE(window.controls.przewin_dol.Visible());
        turn(2);
        EXPECT_EQ(menu.first_visible(), std::max(entries - 21, 0));
    }
}

} // namespace
} // namespace kelvox::test
