#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <utility>

namespace kelvox::test {
namespace {

constexpr uint32_t kBlackPixel = 0x000000;
constexpr uint32_t kBrush = 0xB4FDB8;
// A drawer picture unlike the canvas's brush, so that an erased tick shows where it was erased.
constexpr uint32_t kPicture = 0x336699;

const QString kWindows95 = QString::fromUtf8("W systemie Windows 95 opcja niedostępna");
const QString kNextStart =
    QString::fromUtf8("Zapisz ustawienia - zmiany będą widoczne po ponownym uruchomieniu programu");
const QString kSaveQuestion = QString::fromUtf8(
    "Dane zostaną zapisane do Rejestru systemowego. Jeżeli pracujesz w systemach z rodziny Windows "
    "NT/2K/XP musisz mieć uprawnienia administratora.");

// Drawer rows (drawer pixels) a click lands on.
constexpr int kFullScreenY = 24;
constexpr int kAnimationsY = 38;
constexpr int kTaskbarY = 55;
constexpr int kNoWallpaperY = 72;
constexpr int kWallpaper1Y = 159;
constexpr int kWallpaper2Y = 249;
constexpr int kSoundY = 279;
constexpr int kSaveY = 370;

void open_drawer(TForm1& window) {
    window.DispatchMouseMove(window.state.layout_width - 10, window.controls.ustawienia.Top() + 200);
}

// Opens the drawer as the pointer would on its way, then presses and releases at a drawer pixel.
void click(TForm1& window, int x, int y, int release_x = -1) {
    open_drawer(window);
    const int left = window.controls.ustawienia.Left();
    const int top = window.controls.ustawienia.Top();
    window.DispatchMouseDown(left + x, top + y);
    window.DispatchMouseUp(left + (release_x < 0 ? x : release_x), top + y);
}

// The composed frame, read in the drawer's own pixels.
struct DrawerView {
    explicit DrawerView(const TForm1& window)
        : frame(window.ComposeFrame()), left(window.controls.ustawienia.Left()),
          top(window.controls.ustawienia.Top()) {}
    uint32_t at(int x, int y) const {
        const QRgb rgb = frame.pixel(left + x, top + y);
        return static_cast<uint32_t>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
    }
    QImage frame;
    int left;
    int top;
};

WindowFixture& window_mode(WindowFixture& fixture, bool sound = false, bool show_taskbar = false) {
    fixture.store_settings(false, true, show_taskbar, QStringLiteral("tapeta.bmp"), sound);
    fixture.disc.write(QStringLiteral("menu/ustawienia.bmp"), flat_bmp(142, 394, kPicture));
    return fixture;
}

// The pixels a tick at mark line m covers: each stroke without its last point.
std::set<std::pair<int, int>> tick_pixels(int m) {
    return {{128, m}, {129, m + 1}, {130, m + 2}, {129, m + 3}, {128, m + 4},
            {129, m}, {130, m + 1}, {131, m + 2}, {130, m + 3}, {129, m + 4}};
}

// Around mark line m: black exactly on the tick when it is there, the brush inside `erased`, the
// picture everywhere else.
void expect_tick_area(const DrawerView& view, int m, bool ticked, const Rect& erased = {}) {
    const auto pixels = tick_pixels(m);
    for (int y = m - 2; y < m + 8; ++y)
        for (int x = 125; x < 135; ++x) {
            const uint32_t expected = ticked && pixels.count({x, y}) ? kBlackPixel
                                      : erased.Contains(x, y)        ? kBrush
                                                                     : kPicture;
            ASSERT_EQ(view.at(x, y), expected) << "at (" << x << ", " << y << ")";
        }
}

TEST(SettingsDrawerOpen, TakesTheDetailPanelStripIntoItsPictureOnlyWhereItOverlapsThePanel) {
    struct Case {
        bool full_screen;
        int screen_width;
        int strip_width;
    };
    for (const Case c :
         {Case{false, 1024, 124}, Case{true, 893, 1}, Case{true, 894, 0}, Case{true, 1024, 0}}) {
        SCOPED_TRACE(c.screen_width);
        WindowFixture fixture;
        fixture.screen.Resize(c.screen_width, 600);
        fixture.store_settings(c.full_screen, true, false, QStringLiteral("tapeta.bmp"), false);
        // An all-transparent drawer picture shows what the drawer took from under it.
        fixture.disc.write(QStringLiteral("menu/ustawienia.bmp"), flat_bmp(142, 394, kBlackPixel));
        TForm1& window = fixture.open();
        // Each panel column a colour of its own, to tell which columns were taken.
        Canvas& panel = window.controls.panelek.Canvas();
        for (int x = 0; x < 550; ++x) {
            panel.brush = {static_cast<Colour>(0x100000 + x), BrushStyle::Solid};
            panel.FillRect({x, 0, x + 1, 350});
        }

        open_drawer(window);
        ASSERT_TRUE(window.state.settings_open);
        ASSERT_EQ(window.controls.ustawienia.Left(), window.state.layout_width - 144);
        const DrawerView view(window);
        const int first_column = window.state.layout_width - 344;
        for (int x = 0; x<c.strip_width; x += c.strip_width - 1> 0 ? c.strip_width - 1 : 1)
            for (int y : {16, 365})
                EXPECT_EQ(view.at(x, y), 0x100000u + first_column + x) << x << ", " << y;
        EXPECT_EQ(view.at(c.strip_width, 16), SkinColours::wallpaper);
        EXPECT_EQ(view.at(0, 15), SkinColours::wallpaper);
        EXPECT_EQ(view.at(0, 366), SkinColours::wallpaper);
    }
}

// What a click can change, taken before and after it.
struct Snapshot {
    explicit Snapshot(const WindowFixture& fixture)
        : full_screen(fixture.window->state.full_screen), animations(fixture.window->state.animations),
          show_taskbar(fixture.window->state.show_taskbar), sound(fixture.window->state.sound),
          wallpaper(fixture.window->state.wallpaper), boxes(fixture.messages.all.size()),
          taskbar_calls(fixture.taskbar.calls.size()), player_calls(fixture.player.calls.size()),
          background_mark(fixture.window->controls.tlo.Canvas().PixelAt(300, 300)),
          canvas(fixture.window->settings_drawer.canvas().Canvas().Target()) {}
    bool operator==(const Snapshot&) const = default;

    bool full_screen, animations, show_taskbar, sound;
    QString wallpaper;
    qsizetype boxes;
    size_t taskbar_calls;
    qsizetype player_calls;
    Colour background_mark; // a rebuild paints it over
    QImage canvas;
};

TEST(SettingsDrawerClick, EachRowActsOnlyInsideItsRanges) {
    struct Probe {
        int x;
        int y;
        bool acts;
    };
    // Row edges: left and right X, top and bottom Y, and one pixel beyond each.
    const Probe probes[] = {
        {33, 20, true},  {132, 27, true},  {32, 24, false},  {133, 24, false},  {60, 19, false},
        {60, 28, false}, {53, 36, true},   {132, 41, true},  {52, 38, false},   {133, 38, false},
        {60, 42, false}, {29, 52, true},   {132, 58, true},  {28, 55, false},   {133, 55, false},
        {40, 70, true},  {132, 74, true},  {39, 72, false},  {133, 72, false},  {60, 75, false},
        {47, 156, true}, {132, 162, true}, {46, 159, false}, {133, 159, false}, {60, 163, false},
        {47, 246, true}, {132, 252, true}, {46, 249, false}, {133, 249, false}, {60, 253, false},
        {70, 276, true}, {132, 282, true}, {69, 279, false}, {133, 279, false}, {80, 283, false},
        {13, 361, true}, {143, 377, true}, {12, 370, false}, {60, 360, false},  {60, 378, false},
    };
    WindowFixture fixture;
    window_mode(fixture, true);
    TForm1& window = fixture.open();
    fixture.messages.confirm_answer = false;
    for (const Probe& p : probes) {
        SCOPED_TRACE(testing::Message() << "(" << p.x << ", " << p.y << ")");
        open_drawer(window);
        window.controls.tlo.Canvas().SetPixel(300, 300, 0x0000FE);
        const Snapshot before(fixture);
        click(window, p.x, p.y);
        EXPECT_EQ(Snapshot(fixture) == before, !p.acts);
    }
}

TEST(SettingsDrawerClick, SaveRowReachesPastTheDrawersRightEdge) {
    WindowFixture fixture;
    TForm1& window = window_mode(fixture).open();
    fixture.messages.confirm_answer = false;
    // Pressed on the row, released right of the window: the drawer keeps the pointer until the release.
    click(window, 100, kSaveY, 400);
    EXPECT_EQ(fixture.messages.confirmed, QStringList{kSaveQuestion});
}

TEST(SettingsDrawerFullScreen, UnderWindows95OnlyTheMessageComes) {
    WindowFixture fixture;
    window_mode(fixture);
    fixture.registry.put_string(QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion"),
                                QStringLiteral("ProductName"), QStringLiteral("Microsoft Windows 95"));
    TForm1& window = fixture.open();
    window.controls.tlo.Canvas().SetPixel(300, 300, 0x0000FE);
    click(window, 60, kFullScreenY);
    EXPECT_EQ(fixture.messages.shown, QStringList{kWindows95});
    EXPECT_TRUE(window.state.full_screen);
    EXPECT_EQ(window.controls.tlo.Canvas().PixelAt(300, 300), 0x0000FEu);
}

TEST(SettingsDrawerFullScreen, SwitchedOffRebuildsInWindowModeAtOnce) {
    WindowFixture fixture;
    fixture.store_settings(true, true, false, QStringLiteral("tapeta.bmp"), false);
    TForm1& window = fixture.open();
    ASSERT_EQ(window.state.layout_width, 1024);
    window.timer1.SetOnTimer({});
    click(window, 60, kFullScreenY);

    EXPECT_FALSE(window.state.full_screen);
    EXPECT_EQ(window.state.layout_width, 770);
    EXPECT_EQ(window.state.content_top, 16);
    EXPECT_TRUE(window.controls.chwyt.Visible());
    EXPECT_TRUE(window.Visible());
    EXPECT_FALSE(window.state.settings_open);
    EXPECT_EQ(window.controls.ustawienia.Left(), 748);
    // The intro plays again, and the taskbar came back only while the application was minimised.
    EXPECT_TRUE(static_cast<bool>(window.timer1.OnTimer()));
    EXPECT_EQ(fixture.taskbar.calls, (std::vector<std::string>{"hide", "show", "hide"}));
    EXPECT_TRUE(fixture.messages.all.isEmpty());
}

TEST(SettingsDrawerFullScreen, SwitchedOnWaitsForTheNextBuildWhichAPictureChoiceBrings) {
    WindowFixture fixture;
    TForm1& window = window_mode(fixture).open();
    click(window, 60, kFullScreenY);
    EXPECT_TRUE(window.state.full_screen);
    EXPECT_EQ(fixture.messages.shown, QStringList{kNextStart});
    EXPECT_EQ(window.state.layout_width, 770);
    EXPECT_TRUE(window.state.settings_open);
    expect_tick_area(DrawerView(window), 21, true);

    click(window, 60, kWallpaper2Y);
    EXPECT_EQ(window.state.wallpaper, QStringLiteral("tapeta#2.bmp"));
    EXPECT_EQ(window.state.layout_width, 1024);
    EXPECT_EQ(window.state.content_top, 144);
    EXPECT_EQ(fixture.pixel(900, 400), SkinColours::wallpaper2);
}

TEST(SettingsDrawerTaskbar, HidesAndShowsTheTaskbarAtOnceButStoresNothing) {
    WindowFixture fixture;
    TForm1& window = window_mode(fixture, false, true).open();
    ASSERT_TRUE(fixture.taskbar.calls.empty());
    click(window, 60, kTaskbarY);
    EXPECT_FALSE(window.state.show_taskbar);
    EXPECT_EQ(fixture.taskbar.calls, std::vector<std::string>{"hide"});
    click(window, 60, kTaskbarY);
    EXPECT_TRUE(window.state.show_taskbar);
    EXPECT_EQ(fixture.taskbar.calls, (std::vector<std::string>{"hide", "show"}));
    EXPECT_TRUE(fixture.registry.writes.isEmpty());
}

TEST(SettingsDrawerSave, WritesAllFiveOnlyWhenConfirmed) {
    for (const bool confirmed : {true, false}) {
        SCOPED_TRACE(confirmed);
        WindowFixture fixture;
        TForm1& window = window_mode(fixture, false, true).open();
        click(window, 60, kAnimationsY);
        click(window, 60, kTaskbarY);
        click(window, 60, kNoWallpaperY);
        click(window, 60, kFullScreenY);
        EXPECT_TRUE(fixture.registry.writes.isEmpty());

        fixture.messages.confirm_answer = confirmed;
        click(window, 60, kSaveY);
        EXPECT_EQ(fixture.messages.confirmed, QStringList{kSaveQuestion});
        EXPECT_EQ(fixture.messages.captions, QStringList{QStringLiteral("Kelvox Cover CD")});
        if (!confirmed) {
            EXPECT_TRUE(fixture.registry.writes.isEmpty());
            continue;
        }
        EXPECT_EQ(fixture.registry.writes,
                  (QStringList{"PELNY_EKRAN", "ANIMACJE", "PASEK_ZADAN", "TAPETA", "DZWIEK"}));
        const auto number = [&](const char* name) {
            return fixture.registry.value(kSettingsKey, QString::fromLatin1(name))->number;
        };
        EXPECT_EQ(number("PELNY_EKRAN"), 1u);
        EXPECT_EQ(number("ANIMACJE"), 0u);
        EXPECT_EQ(number("PASEK_ZADAN"), 0u);
        EXPECT_EQ(fixture.registry.value(kSettingsKey, QStringLiteral("TAPETA"))->text,
                  QStringLiteral("brak"));
        EXPECT_EQ(number("DZWIEK"), 0u);
    }
}

TEST(SettingsDrawerTicks, OpeningTicksTheOptionsThatAreOn) {
    struct Case {
        QString wallpaper;
        int ticked_wallpaper_line;
    };
    for (const Case& c : {Case{"tapeta.bmp", 157}, Case{"tapeta#2.bmp", 247}, Case{"brak", 70}}) {
        SCOPED_TRACE(c.wallpaper.toStdString());
        WindowFixture fixture;
        window_mode(fixture, true);
        fixture.registry.put_string(kSettingsKey, QStringLiteral("TAPETA"), c.wallpaper);
        TForm1& window = fixture.open();
        open_drawer(window);
        const DrawerView view(window);
        expect_tick_area(view, 21, false);
        expect_tick_area(view, 37, true);
        expect_tick_area(view, 53, false);
        for (int line : {70, 157, 247})
            expect_tick_area(view, line, line == c.ticked_wallpaper_line);
        expect_tick_area(view, 277, true);
    }
}

TEST(SettingsDrawerTicks, SwitchingOffErasesItsRectangleAndOnDrawsTheTickAgain) {
    struct Case {
        int y;
        int mark;
        Rect erased;
    };
    for (const Case& c : {Case{kAnimationsY, 37, {127, 37, 132, 42}}, Case{kTaskbarY, 53, {127, 53, 132, 58}},
                          Case{kSoundY, 277, {127, 277, 132, 283}}}) {
        SCOPED_TRACE(c.mark);
        WindowFixture fixture;
        window_mode(fixture, true, true);
        TForm1& window = fixture.open();
        click(window, 100, c.y);
        expect_tick_area(DrawerView(window), c.mark, false, c.erased);
        click(window, 100, c.y);
        // The tick lands on what the erase left.
        expect_tick_area(DrawerView(window), c.mark, true, c.erased);
    }
}

TEST(SettingsDrawerSound, SwitchesTheMusicOffAndOnAgainFromTheStart) {
    WindowFixture fixture;
    TForm1& window = window_mode(fixture, true).open();
    ASSERT_TRUE(window.state.music_ready);
    fixture.player.calls.clear();
    click(window, 100, kSoundY);
    EXPECT_FALSE(window.state.sound);
    EXPECT_EQ(fixture.player.calls, (QStringList{"stop", "close"}));
    EXPECT_FALSE(static_cast<bool>(window.musictimer.OnTimer()));

    fixture.player.calls.clear();
    click(window, 100, kSoundY);
    EXPECT_TRUE(window.state.sound);
    EXPECT_EQ(fixture.player.calls, QStringList{"open " + window.music.file_name()});
    EXPECT_TRUE(static_cast<bool>(window.musictimer.OnTimer()));
}

TEST(SettingsDrawerSound, APlayerThatCannotOpenShowsItsErrorAndNoTick) {
    WindowFixture fixture;
    TForm1& window = window_mode(fixture, false).open();
    fixture.player.failing = {"open"};
    click(window, 100, kSoundY);
    EXPECT_TRUE(window.state.sound);
    EXPECT_EQ(fixture.messages.shown, QStringList{"open failed"});
    expect_tick_area(DrawerView(window), 277, false);
}

TEST(SettingsDrawerSound, DoesNothingWhenTheMusicCouldNotStart) {
    WindowFixture fixture;
    window_mode(fixture, true);
    fixture.player.failing = {"open"};
    TForm1& window = fixture.open();
    ASSERT_FALSE(window.state.music_ready);
    fixture.player.failing.clear();
    fixture.player.calls.clear();
    fixture.messages.all.clear();
    click(window, 100, kSoundY);
    EXPECT_FALSE(window.state.sound);
    EXPECT_TRUE(fixture.player.calls.isEmpty());
    EXPECT_TRUE(fixture.messages.all.isEmpty());
    expect_tick_area(DrawerView(window), 277, false);
}

TEST(SettingsDrawerCollapse, OnlyTheBackgroundTickerPanelAndWindowCollapseIt) {
    struct Place {
        const char* name;
        int x;
        int y;
        bool collapses;
    };
    const Place places[] = {
        {"entry list", 50, 300, false}, {"section bar", 400, 60, false},  {"background", 300, 470, true},
        {"ticker", 300, 20, true},      {"detail panel", 400, 200, true}, {"window", 700, 15, true},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        WindowFixture fixture;
        TForm1& window = window_mode(fixture).open();
        open_drawer(window);
        ASSERT_TRUE(window.state.settings_open);
        window.DispatchMouseMove(place.x, place.y);
        EXPECT_EQ(window.state.settings_open, !place.collapses);
        EXPECT_EQ(window.controls.ustawienia.Left(), place.collapses ? 748 : 626);
        // Collapsed, the drawer's place shows the background again.
        EXPECT_EQ(fixture.pixel(700, 300), place.collapses ? SkinColours::wallpaper : kPicture);
        EXPECT_EQ(fixture.pixel(760, 300), kPicture);
    }
}

TEST(SettingsDrawerWallpaper, APictureThatCannotBeLoadedGivesBackThePictureInUse) {
    struct Case {
        const char* also_missing;
        const char* shown_after;
        uint32_t colour;
    };
    // When even the picture in use has gone from the disc, the menu is rebuilt without any.
    for (const Case& c :
         {Case{nullptr, "tapeta.bmp", SkinColours::wallpaper}, Case{"menu/tapeta.bmp", "brak", 0}}) {
        SCOPED_TRACE(c.shown_after);
        WindowFixture fixture(TestSkinOptions{.with_font = true, .with_second_wallpaper = false});
        TForm1& window = window_mode(fixture).open();
        if (c.also_missing)
            fixture.disc.remove(QString::fromLatin1(c.also_missing));
        window.controls.tlo.Canvas().SetPixel(300, 300, 0x0000FE);
        click(window, 60, kWallpaper2Y);

        EXPECT_EQ(fixture.messages.shown, QStringList{"Cannot open file menu\\tapeta#2.bmp"});
        EXPECT_EQ(window.state.wallpaper, QString::fromLatin1(c.shown_after));
        EXPECT_TRUE(window.Visible());
        EXPECT_EQ(fixture.taskbar.calls, (std::vector<std::string>{"hide", "show", "hide"}));
        EXPECT_FALSE(window.state.settings_open);
        EXPECT_EQ(window.controls.tlo.Canvas().PixelAt(300, 300), c.colour);
        EXPECT_EQ(fixture.pixel(400, 470), c.colour);
    }
}

} // namespace
} // namespace kelvox::test
