#include "actions/screenshot_viewer.h"
#include "tests/support/test_entries.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

namespace kelvox::test {
namespace {

// One entry with the given pictures (JPEGs of 640 × 480 in distinct colours), shown in the panel.
class PanelWindow {
public:
    explicit PanelWindow(int pictures, bool requirements = true) : fixture(skin()) {
        QStringList names;
        for (int i = 0; i < pictures; ++i) {
            const QString name = QStringLiteral("gry\\obrazki\\p%1.jpg").arg(i);
            names << name;
            fixture.disc.write(QStringLiteral("gry/obrazki/p%1.jpg").arg(i),
                               flat_jpeg(640, 480, QColor(40 * i, 200 - 30 * i, 90)));
        }
        fixture.disc.write(QStringLiteral("gry/info.xml"),
                           info_xml(QStringLiteral("Gra"), QStringLiteral("Opis gry"),
                                    requirements ? QStringLiteral("Pentium 200, 32 MB RAM") : QString(),
                                    names, QStringLiteral("pełna wersja")));
        fixture.store_settings(true, true, false, QStringLiteral("tapeta.bmp"), false);
        window = &fixture.open();
        finish();
        window->screen.section_bar.select_section(0);
        finish();
        window->screen.entry_list.listaMouseMove(50, 60);
        window->actions.entry_activation.listazaznakMouseDown();
        finish();
    }
    static TestSkinOptions skin() {
        TestSkinOptions options;
        options.index_xml = "<nazwa>Gry</nazwa><nazwa_e>Gra</nazwa_e><sciezka_exe>gry\\gra.exe</"
                            "sciezka_exe><sciezka>gry</sciezka>";
        return options;
    }
    void finish() { run_timer1_steps(*window); }
    void press(int x, int y) { window->actions.panel_buttons.panelekMouseDown(x, y); }

    WindowFixture fixture;
    TForm1* window;
};

TEST(DetailPanel, ThreePicturesAreNumberedFrom178WithTheFrameAroundTheFirst) {
    PanelWindow panel(3);
    TForm1& window = *panel.window;
    EXPECT_TRUE(window.description.picture_loaded);
    EXPECT_TRUE(window.state.panel_shown);
    EXPECT_TRUE(window.controls.screenzaznak.Visible());
    EXPECT_EQ(window.controls.screenzaznak.Left(), window.controls.panelek.Left() + 177);
    EXPECT_EQ(window.controls.screenzaznak.Top(), window.controls.panelek.Top() + 269);
    // The third number starts at 178 + 32: a press just inside it shows the third picture.
    panel.press(178 + 32 + 1, 275);
    EXPECT_EQ(window.controls.screenzaznak.Left(), window.controls.panelek.Left() + 177 + 32);
}

TEST(DetailPanel, WithoutPicturesTheGreyBoxSaysSoAndNoFrameIsShown) {
    PanelWindow panel(0, false);
    TForm1& window = *panel.window;
    EXPECT_FALSE(window.description.picture_loaded);
    EXPECT_FALSE(window.controls.screenzaznak.Visible());
    EXPECT_TRUE(window.description.requirement_lines.isEmpty());
    // The text " BRAK OBRAZKÓW " stands on the backdrop's grey brush from (145, 165).
    int grey = 0;
    for (int x = 145; x < 200; ++x)
        grey += panel.fixture.pixel(window.controls.panelek.Left() + x,
                                    window.controls.panelek.Top() + 166) == 0xAAAAAA;
    EXPECT_GT(grey, 0);
    // The zones of pictures do nothing; the run button still starts the entry.
    panel.press(200, 275);
    panel.press(80, 170);
    panel.press(200, 150);
    EXPECT_EQ(panel.fixture.modal.runs, 0);
    panel.press(200, 325);
    ASSERT_EQ(panel.fixture.launcher.calls.size(), 1u);
    EXPECT_EQ(panel.fixture.launcher.calls[0].file, QStringLiteral("gra.exe"));
}

TEST(PanelButtons, NumbersAndArrowsSwitchPicturesWithinStrictBounds) {
    PanelWindow panel(5);
    TForm1& window = *panel.window;
    // The frame stands around the number of the picture shown; five numbers start at 162.
    ASSERT_EQ(window.controls.screenzaznak.Left(), window.controls.panelek.Left() + 161);
    struct Case {
        int x, y;
        int picture_after;
    };
    const Case cases[] = {
        {200, 275, 2}, {162, 275, 2}, {242, 275, 2}, {241, 275, 4}, {163, 271, 0}, {163, 270, 0},
        {80, 170, 0}, // previous: already the first
        {320, 170, 1}, {320, 170, 2}, {331, 176, 3}, {332, 170, 3}, {320, 177, 3}, {72, 165, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        panel.press(c.x, c.y);
        EXPECT_EQ(window.controls.screenzaznak.Left(),
                  window.controls.panelek.Left() + 162 + 16 * c.picture_after - 1);
    }
    // The picture shown is the one chosen: picture 2 is (80, 140, 90).
    const uint32_t shown =
        panel.fixture.pixel(window.controls.panelek.Left() + 200, window.controls.panelek.Top() + 170);
    EXPECT_NEAR(static_cast<int>(shown & 0xFF), 80, 6);
}

TEST(PanelButtons, AnEntryChosenAgainCountsFromItsFirstPictureEvenDuringItsFade) {
    PanelWindow panel(5);
    TForm1& window = *panel.window;
    const Shape& frame = window.controls.screenzaznak;
    const int first = window.controls.panelek.Left() + 161;
    panel.press(162 + 16 * 4 + 1, 275); // the fifth picture
    ASSERT_EQ(frame.Left(), first + 16 * 4);
    // Chosen again (or another entry, whose list may be shorter): an arrow pressed while it fades in
    // must step from its first picture, not from the fifth of the list before.
    window.actions.entry_activation.select_entry(0);
    window.timer1.Timer();
    panel.press(320, 170);
    EXPECT_EQ(frame.Left(), first + 16);
}

TEST(PanelButtons, ThePictureOpensTheViewerAtItsOwnSize) {
    PanelWindow panel(2);
    panel.press(200, 275 - 100);
    ASSERT_EQ(panel.fixture.modal.runs, 1);
    EXPECT_EQ(panel.fixture.modal.last_width, 642);
    EXPECT_EQ(panel.fixture.modal.last_height, 482);
    EXPECT_EQ(panel.fixture.modal.last_left, (1024 - 642) / 2);
    // One pixel of silver on every side, the picture inside.
    EXPECT_EQ(panel.fixture.modal.last_frame.pixel(0, 0) & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_EQ(panel.fixture.modal.last_frame.pixel(641, 481) & 0xFFFFFF, 0xC0C0C0u);
    EXPECT_NE(panel.fixture.modal.last_frame.pixel(1, 1) & 0xFFFFFF, 0xC0C0C0u);
}

TEST(PanelButtons, APictureThatCannotBeLoadedIsReportedAndThePanelIsNotRedrawn) {
    PanelWindow panel(3);
    panel.fixture.disc.remove(QStringLiteral("gry/obrazki/p2.jpg"));
    const QImage before = panel.window->ComposeFrame();
    panel.press(178 + 32 + 5, 275);
    EXPECT_EQ(panel.fixture.messages.shown,
              QStringList{QStringLiteral("Cannot open file gry\\obrazki\\p2.jpg")});
    EXPECT_EQ(panel.window->ComposeFrame(), before);
}

TEST(ScreenshotViewer, EscapeEnterAndSpaceCloseItAndOtherKeysDoNot) {
    qt_application();
    for (const int key : {kVirtualKeyEscape, kVirtualKeyReturn, kVirtualKeySpace}) {
        TForm2 viewer;
        viewer.Show();
        viewer.DispatchKeyDown(int('A'));
        viewer.DispatchKeyDown(kVirtualKeyTab);
        EXPECT_TRUE(viewer.Visible());
        viewer.DispatchKeyDown(key);
        EXPECT_FALSE(viewer.Visible()) << key;
    }
}

} // namespace
} // namespace kelvox::test
