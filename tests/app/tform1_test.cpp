#include "tests/support/window_fixture.h"

#include "platform/platform_error.h"

#include <gtest/gtest.h>

namespace kelvox::test {
namespace {

constexpr uint32_t kBlackPixel = 0x000000;

TEST(MainWindowStart, FullScreenOn1024x768LaysTheBandOutAndPaintsTheBackgroundOnce) {
    WindowFixture fixture;
    fixture.store_settings(true, true, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();

    EXPECT_EQ(window.state.content_top, 144);
    EXPECT_EQ(window.state.layout_width, 1024);
    EXPECT_EQ(window.state.layout_height, 768);
    EXPECT_EQ(window.ClientWidth(), 1024);
    EXPECT_EQ(window.ClientHeight(), 768);
    EXPECT_EQ(window.controls.tlo.BoundsRect(), Rect::sized(0, 144, 1024, 624));
    EXPECT_EQ(window.controls.menu.BoundsRect(), Rect::sized(188, 173, 836, 48));
    EXPECT_EQ(window.controls.ustawienia.Left(), 1002);
    EXPECT_EQ(window.controls.ustawienia.Top(), 214);
    EXPECT_EQ(window.controls.lista.BoundsRect(), Rect::sized(0, 166, 188, 458));
    EXPECT_EQ(window.controls.panelek.BoundsRect(), Rect::sized(200, 230, 550, 350));
    EXPECT_EQ(window.controls.scroll.BoundsRect(), Rect::sized(0, 144, 1024, 22));
    EXPECT_EQ(window.controls.przewin_gora.BoundsRect(), Rect::sized(84, 202, 20, 20));
    EXPECT_EQ(window.controls.przewin_dol.BoundsRect(), Rect::sized(84, 602, 20, 20));
    EXPECT_FALSE(window.controls.chwyt.Visible());
    EXPECT_TRUE(window.RegionContains(1023, 0));

    // Bar tiles under the ticker right of the list, bottom tiles on window lines 608 to 623.
    EXPECT_EQ(fixture.pixel(300, 171), SkinColours::pasek);
    EXPECT_EQ(fixture.pixel(1000, 166), SkinColours::pasek);
    EXPECT_EQ(fixture.pixel(300, 608), SkinColours::dol);
    EXPECT_EQ(fixture.pixel(300, 623), SkinColours::dol);
    EXPECT_NE(fixture.pixel(300, 624), SkinColours::dol);
    // The bar took its copy before the tiles were laid: it shows the black band there.
    EXPECT_EQ(fixture.pixel(300, 180), kBlackPixel);
    // The list's own tiles along its top and its bottom edge.
    EXPECT_EQ(fixture.pixel(10, 170), SkinColours::pasek);
    EXPECT_EQ(fixture.pixel(10, 166 + 458 - 8), SkinColours::lista_d);
    // The background picture starts at window line 221, under the last row of the bar tiles, once at
    // x 0 and again from x 800.
    EXPECT_EQ(fixture.pixel(900, 221), SkinColours::pasek);
    EXPECT_EQ(fixture.pixel(900, 222), SkinColours::wallpaper);
    EXPECT_EQ(fixture.pixel(795, 400), SkinColours::wallpaper);
    EXPECT_EQ(fixture.pixel(100, 221 + 150), SkinColours::wallpaper);
    // The collapsed settings tab shows the settings picture at the right edge.
    EXPECT_EQ(fixture.pixel(1010, 300), SkinColours::ustawienia);
    // The panel shows the background under it: mid-grey relief is not drawn yet.
    EXPECT_EQ(fixture.pixel(400, 400), SkinColours::wallpaper);
}

TEST(MainWindowStart, WindowModeCentresTheWindowWithItsOutlineAndGrip) {
    WindowFixture fixture;
    fixture.store_settings(false, true, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();

    EXPECT_EQ(window.Left(), 127);
    EXPECT_EQ(window.Top(), 136);
    EXPECT_EQ(window.ClientWidth(), 770);
    EXPECT_EQ(window.ClientHeight(), 496);
    EXPECT_EQ(window.state.content_top, 16);
    EXPECT_TRUE(window.controls.chwyt.Visible());
    EXPECT_EQ(window.controls.chwyt.BoundsRect(), Rect::sized(0, 0, 770, 14));
    // The outline: the top cut 12 lines lower left of the tab, the bottom cut at 482 right of x 187.
    EXPECT_FALSE(window.RegionContains(300, 5));
    EXPECT_TRUE(window.RegionContains(700, 5));
    EXPECT_TRUE(window.RegionContains(300, 13));
    EXPECT_TRUE(window.RegionContains(100, 490));
    EXPECT_FALSE(window.RegionContains(400, 490));
    // In window mode the picture is cut at the band's end.
    EXPECT_EQ(window.controls.tlo.BoundsRect(), Rect::sized(0, 16, 770, 480));
}

TEST(MainWindowStart, WithoutBackgroundPictureTheBandStaysBlackAndNoPictureIsOpened) {
    WindowFixture fixture(TestSkinOptions{.with_font = true, .with_second_wallpaper = false});
    fixture.disc.remove(QStringLiteral("menu/tapeta.bmp"));
    fixture.store_settings(true, true, false, QStringLiteral("brak"), false);
    fixture.open();
    EXPECT_EQ(fixture.pixel(900, 400), kBlackPixel);
    EXPECT_TRUE(fixture.messages.shown.isEmpty());
}

TEST(MainWindowStart, Windows95IsAlwaysFullScreenWithoutRegion) {
    WindowFixture fixture;
    fixture.store_settings(false, true, false, QStringLiteral("tapeta.bmp"), false);
    fixture.registry.put_string(QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion"),
                                QStringLiteral("ProductName"), QStringLiteral("Microsoft Windows 95"));
    TForm1& window = fixture.open();
    EXPECT_TRUE(window.state.is_win95);
    EXPECT_TRUE(window.state.full_screen);
    EXPECT_EQ(window.state.layout_width, 1024);
    // No region: every point of the window answers.
    EXPECT_TRUE(window.RegionContains(1023, 767));
    EXPECT_TRUE(window.RegionContains(0, 0));
}

TEST(MainWindowStart, FirstStartUsesTheDefaults) {
    WindowFixture fixture;
    TForm1& window = fixture.open();
    EXPECT_TRUE(window.state.full_screen);
    EXPECT_TRUE(window.state.animations);
    EXPECT_FALSE(window.state.show_taskbar);
    EXPECT_EQ(window.state.wallpaper, QStringLiteral("tapeta.bmp"));
    EXPECT_EQ(fixture.taskbar.calls, std::vector<std::string>{"hide"});
    EXPECT_EQ(window.screen.ticker.line_count(), 2);
}

TEST(MainWindowLife, TaskbarIsHiddenWhileTheMenuRunsAndShownWhileMinimisedAndAtTheEnd) {
    WindowFixture fixture;
    fixture.store_settings(true, true, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();
    window.AppMinimize();
    window.AppRestore();
    window.FormClose();
    EXPECT_EQ(fixture.taskbar.calls, (std::vector<std::string>{"hide", "show", "hide", "show"}));

    WindowFixture visible;
    visible.store_settings(true, true, true, QStringLiteral("tapeta.bmp"), false);
    TForm1& other = visible.open();
    other.AppRestore();
    other.FormClose();
    // Left visible: only the close shows it, whatever the setting says.
    EXPECT_EQ(visible.taskbar.calls, std::vector<std::string>{"show"});
}

TEST(MainWindowLife, TheMusicStartsWithTheFirstFrameAndNotAfterAClose) {
    WindowFixture fixture;
    fixture.store_settings(true, true, false, QStringLiteral("tapeta.bmp"), true);
    TForm1 window(fixture.services);
    EXPECT_TRUE(fixture.player.calls.isEmpty());
    window.OnFirstFrame();
    EXPECT_EQ(fixture.player.state(), FakeMediaPlayer::State::playing);

    WindowFixture closed;
    TForm1 closed_window(closed.services);
    closed_window.FormClose();
    closed_window.OnFirstFrame();
    EXPECT_EQ(closed.player.times_opened(), 0);
}

TEST(MainWindowLife, CloseGivesBackTheFontAndReleasesTheBitmapsOnce) {
    WindowFixture fixture;
    TForm1& window = fixture.open();
    ASSERT_EQ(fixture.fonts.registered, 1);
    EXPECT_EQ(fixture.fonts.added.front(), window.state.program_dir + QStringLiteral("\\menu\\Digirt__.ttf"));
    window.FormClose();
    window.FormClose();
    EXPECT_EQ(fixture.fonts.registered, 0);
    EXPECT_EQ(fixture.fonts.removed.size(), 1);
    EXPECT_TRUE(window.screen.detail_panel.relief().Empty());
    EXPECT_EQ(window.screen.ticker.line_count(), 0);
    EXPECT_FALSE(window.timer1.Enabled());
    EXPECT_FALSE(window.scrolltimer.Enabled());
    EXPECT_FALSE(window.musictimer.Enabled());
}

TEST(MainWindowLife, RestoreRebuildsOnlyWhenTheScreenWidthChanged) {
    WindowFixture fixture;
    fixture.store_settings(true, true, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();
    window.controls.przewin_dol.Show();
    // A mark on the background: a rebuild paints the background anew.
    window.controls.tlo.Canvas().SetPixel(900, 300, 0x0000FF);
    window.AppRestore();
    EXPECT_EQ(fixture.pixel(900, 444), 0x0000FFu);
    EXPECT_TRUE(window.controls.przewin_dol.Visible());

    fixture.screen.Resize(800, 600);
    window.AppRestore();
    EXPECT_EQ(window.state.layout_width, 800);
    EXPECT_EQ(window.state.content_top, 60);
    EXPECT_FALSE(window.controls.przewin_dol.Visible());
    EXPECT_FALSE(window.controls.przewin_gora.Visible());
    EXPECT_TRUE(window.Visible());
}

TEST(MainWindowLife, APictureGoneSinceTheStartIsReportedAtARestoreAndTheWindowComesBack) {
    WindowFixture fixture;
    fixture.store_settings(true, true, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();
    ASSERT_TRUE(fixture.messages.shown.isEmpty());
    fixture.disc.remove(QStringLiteral("menu/tapeta.bmp"));
    fixture.screen.Resize(800, 600);
    window.AppRestore();
    ASSERT_EQ(fixture.messages.shown.size(), 1);
    EXPECT_TRUE(fixture.messages.shown.front().contains(QStringLiteral("tapeta.bmp"), Qt::CaseInsensitive))
        << fixture.messages.shown.front().toStdString();
    EXPECT_EQ(window.state.layout_width, 800);
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.state.wallpaper, QStringLiteral("tapeta.bmp")) << "the setting keeps its value";
}

TEST(MainWindowFailures, AMissingFileEndsTheStartAndGivesTheDesktopBack) {
    for (const char* file : {"menu/index.xml", "menu/reklamy.txt", "menu/panel.bmp", "menu/scroll2.bmp",
                             "menu/ustawienia.bmp"}) {
        SCOPED_TRACE(file);
        WindowFixture fixture;
        fixture.disc.remove(QString::fromLatin1(file));
        QString expected = QString::fromLatin1(file);
        expected.replace(QLatin1Char('/'), QLatin1Char('\\'));
        try {
            fixture.open();
            ADD_FAILURE() << "the start went on";
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("Cannot open file ") + expected);
        }
        EXPECT_EQ(fixture.taskbar.calls.back(), "show");
        EXPECT_EQ(fixture.fonts.registered, 0);
    }
}

TEST(MainWindowFailures, ABrokenSkinBitmapIsReportedAsNotValid) {
    WindowFixture fixture;
    fixture.disc.write(QStringLiteral("menu/pasek.bmp"), "not a bitmap at all");
    try {
        fixture.open();
        ADD_FAILURE() << "the start went on";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Bitmap image is not valid"));
    }
}

TEST(MainWindowFailures, AFontThatCannotBeRegisteredIsAnnouncedAndTheStartGoesOn) {
    WindowFixture fixture;
    fixture.fonts.add_succeeds = false;
    fixture.open();
    EXPECT_EQ(fixture.messages.shown, QStringList{QStringLiteral("Nie mogłem załadować czcionki")});
    fixture.window->FormClose();
    EXPECT_TRUE(fixture.fonts.removed.isEmpty());
}

TEST(MainWindowFailures, ABackgroundPictureThatCannotBeLoadedIsShownAndTheMenuStartsWithoutIt) {
    WindowFixture fixture(TestSkinOptions{.with_font = true, .with_second_wallpaper = false});
    fixture.store_settings(true, true, false, QStringLiteral("tapeta#2.bmp"), false);
    TForm1& window = fixture.open();
    EXPECT_EQ(fixture.messages.shown, QStringList{QStringLiteral("Cannot open file menu\\tapeta#2.bmp")});
    EXPECT_EQ(window.state.wallpaper, QStringLiteral("tapeta#2.bmp"));
    EXPECT_EQ(fixture.pixel(900, 400), kBlackPixel);
    EXPECT_EQ(window.state.layout_width, 1024);
}

TEST(MainWindowFailures, ABackgroundPictureNamedOutsideTheSkinDirectoryIsOneThatCannotBeLoaded) {
    const QString long_name = QString(256, QLatin1Char('a'));
    const struct {
        QString wallpaper;
        QString message;
    } cases[] = {
        {"..\\menu\\tapeta.bmp", "Cannot open file menu\\..\\menu\\tapeta.bmp"},
        {"./tapeta.bmp", "Cannot open file menu\\./tapeta.bmp"},
        {"..", "Cannot open file menu\\.."},
        {long_name, "Cannot open file menu\\" + long_name.left(255) + "…"},
        {QString(5 << 20, QLatin1Char('x')),
         "Cannot open file menu\\" + QString(255, QLatin1Char('x')) + "…"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wallpaper.left(40).toStdString());
        WindowFixture fixture;
        fixture.store_settings(true, true, false, c.wallpaper, false);
        TForm1& window = fixture.open();
        EXPECT_EQ(fixture.messages.shown, QStringList{c.message});
        EXPECT_EQ(fixture.pixel(900, 400), kBlackPixel) << "the menu starts without a picture";
        EXPECT_EQ(window.state.wallpaper, c.wallpaper);
    }
}

} // namespace
} // namespace kelvox::test
