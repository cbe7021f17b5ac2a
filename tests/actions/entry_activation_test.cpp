#include "actions/entry_activation.h"

#include "tests/support/test_catalogue.h"
#include "tests/support/test_entries.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace kelvox::test {
namespace {

using Call = FakeLauncher::Call;

QByteArray one_section(const QStringList& exe_paths) {
    QString xml = QStringLiteral("<menu><nazwa>Gry</nazwa>\r\n");
    for (int i = 0; i < exe_paths.size(); ++i)
        xml += QStringLiteral("<nazwa_e>E%1</nazwa_e><sciezka_exe>%2</sciezka_exe><sciezka>e%1</sciezka>\r\n")
                   .arg(i)
                   .arg(exe_paths.at(i));
    return (xml + QStringLiteral("</menu>\r\n")).toUtf8();
}

// A window at rest with the one section's list shown, every entry with an info.xml.
class ActivationWindow {
public:
    explicit ActivationWindow(const QStringList& exe_paths, bool animations = true)
        : fixture(skin(exe_paths)) {
        for (int i = 0; i < exe_paths.size(); ++i)
            fixture.disc.write(QStringLiteral("e%1/info.xml").arg(i),
                               info_xml(QStringLiteral("Tytuł %1").arg(i), QStringLiteral("Opis"), {}, {},
                                        QStringLiteral("gra")));
        fixture.store_settings(true, animations, false, QStringLiteral("tapeta.bmp"), false);
        window = &fixture.open();
        finish_steps();
        window->screen.section_bar.select_section(0);
        finish_steps();
    }
    static TestSkinOptions skin(const QStringList& exe_paths) {
        TestSkinOptions options;
        options.index_xml = one_section(exe_paths);
        return options;
    }
    int finish_steps() { return run_timer1_steps(*window); }
    // A press on row r of the list, through the form's pointer routing.
    void press_row(int row) {
        const int y = window->controls.lista.Top() + 56 + 20 * row + 10;
        fixture.window->DispatchMouseMove(50, y);
        fixture.window->DispatchMouseDown(50, y);
        fixture.window->DispatchMouseUp(50, y);
    }
    QString dir(const QString& relative) const {
        return window->state.program_dir + QLatin1Char('\\') + relative;
    }

    WindowFixture fixture;
    TForm1* window;
};

TEST(EntryActivation, TheFilesNameDecidesWhatHappens) {
    ActivationWindow list({QStringLiteral("demo\\setup.exe"), QStringLiteral("readme.txt"),
                           QStringLiteral("SETUP.EXE"), QStringLiteral("pack.rar.exe"),
                           QStringLiteral("notes.exe.txt"), QStringLiteral("d:run.bat")});
    const std::vector<Call> expected = {
        {Call::Kind::start, QStringLiteral("setup.exe"), list.dir(QStringLiteral("demo\\"))},
        {Call::Kind::open, QStringLiteral("readme.txt"), list.dir(QString())},
        {Call::Kind::open, QStringLiteral("SETUP.EXE"), list.dir(QString())},
        {Call::Kind::start, QStringLiteral("pack.rar.exe"), list.dir(QString())},
        {Call::Kind::start, QStringLiteral("notes.exe.txt"), list.dir(QString())},
        {Call::Kind::start, QStringLiteral("run.bat"), list.dir(QStringLiteral("d:"))},
    };
    for (int i = 0; i < 6; ++i)
        list.window->actions.entry_activation.activate_entry(i);
    EXPECT_EQ(list.fixture.launcher.calls, expected);
}

TEST(EntryActivation, AFirstPressShowsTheEntryAndASecondPressOnTheArmedRowStartsIt) {
    ActivationWindow list({QStringLiteral("a\\a.exe"), QStringLiteral("b\\b.exe")});
    TForm1& window = *list.window;
    list.press_row(1);
    EXPECT_EQ(window.state.shown_entry, 1);
    EXPECT_TRUE(window.state.entry_armed);
    EXPECT_EQ(window.description.entry_title, QStringLiteral("Tytuł 1"));
    EXPECT_EQ(list.finish_steps(), 17); // the panel fades in
    EXPECT_TRUE(window.state.panel_shown);
    EXPECT_TRUE(list.fixture.launcher.calls.empty());

    const int y = window.controls.lista.Top() + 56 + 20 + 10;
    list.fixture.window->DispatchMouseDown(50, y, MouseButton::Right);
    ASSERT_EQ(list.fixture.launcher.calls.size(), 1u);
    EXPECT_EQ(list.fixture.launcher.calls[0].file, QStringLiteral("b.exe"));

    // The pointer wanders off the highlight and back: the next presses do nothing.
    list.fixture.window->DispatchMouseUp(50, y, MouseButton::Right);
    list.fixture.window->DispatchMouseMove(50, window.controls.lista.Top() + 30);
    list.press_row(1);
    list.press_row(1);
    EXPECT_EQ(list.fixture.launcher.calls.size(), 1u);

    // Another entry, with the panel shown and animations on: 16 frames out, 17 in.
    list.press_row(0);
    EXPECT_EQ(list.finish_steps(), 33);
    EXPECT_EQ(window.description.entry_title, QStringLiteral("Tytuł 0"));
}

TEST(EntryActivation, APressServedWhileAFrameIsTintedTakesThePanelOver) {
    for (const bool animations : {true, false}) {
        SCOPED_TRACE(animations ? "animations on" : "animations off");
        ActivationWindow list({QStringLiteral("a.txt"), QStringLiteral("b.txt")}, animations);
        TForm1& window = *list.window;
        list.press_row(0);
        // Another row chosen while the first frame is being tinted: its fade starts from nothing,
        // with its own title, instead of going on from the interrupted one's level.
        QTimer::singleShot(0, [&] { window.actions.entry_activation.select_entry(1); });
        window.timer1.Timer();
        EXPECT_EQ(list.finish_steps(), animations ? 17 : 1);
        EXPECT_EQ(window.description.entry_title, QStringLiteral("Tytuł 1"));
        EXPECT_TRUE(window.state.panel_shown);
    }
}

TEST(EntryActivation, ASectionPressedDuringThePanelsLastFrameLetsTheListGo) {
    ActivationWindow list({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    TForm1& window = *list.window;
    list.press_row(0);
    for (int i = 0; i < 16; ++i)
        window.timer1.Timer();
    ASSERT_FALSE(window.state.panel_shown); // the fade's last frame is the next tick
    QTimer::singleShot(0, [&] { window.screen.section_bar.select_section(0); });
    window.timer1.Timer();
    EXPECT_TRUE(static_cast<bool>(window.timer1.OnTimer())) << "the list's slide was removed";
    EXPECT_FALSE(window.state.panel_shown);
}

TEST(EntryActivation, WithAnimationsOffThePanelComesUpInOneFrame) {
    ActivationWindow list({QStringLiteral("a.txt"), QStringLiteral("b.txt")}, false);
    list.press_row(0);
    EXPECT_EQ(list.finish_steps(), 1);
    list.press_row(1);
    EXPECT_EQ(list.finish_steps(), 1);
    EXPECT_TRUE(list.window->state.panel_shown);
}

TEST(EntryActivation, EntryTwoHundredFiftyFiveOfALongSectionIsShownAndStarted) {
    QStringList paths;
    for (int i = 0; i < 300; ++i)
        paths << QStringLiteral("p%1.exe").arg(i);
    ActivationWindow list(paths);
    TForm1& window = *list.window;
    for (int press = 0; press < 250; ++press)
        window.screen.entry_list.przewin_dolMouseDown();
    list.press_row(5);
    EXPECT_EQ(window.state.shown_entry, 255);
    EXPECT_EQ(window.description.entry_title, QStringLiteral("Tytuł 255"));
    list.finish_steps();
    // The run button of the panel starts it.
    list.fixture.window->DispatchMouseDown(window.controls.panelek.Left() + 200,
                                           window.controls.panelek.Top() + 325);
    ASSERT_EQ(list.fixture.launcher.calls.size(), 1u);
    EXPECT_EQ(list.fixture.launcher.calls[0].file, QStringLiteral("p255.exe"));
}

TEST(EntryActivation, AMissingDescriptionIsReportedAndThePanelStillComesUp) {
    ActivationWindow list({QStringLiteral("a.txt")});
    list.fixture.disc.remove(QStringLiteral("e0/info.xml"));
    list.press_row(0);
    EXPECT_EQ(list.fixture.messages.shown, QStringList{QStringLiteral("Cannot open file info.xml")});
    EXPECT_EQ(list.finish_steps(), 17);
    EXPECT_TRUE(list.window->state.panel_shown);
}

TEST(EntryActivation, AWindowsProgramWithNothingToRunItIsReported) {
    ActivationWindow list({QStringLiteral("setup.exe")});
    list.fixture.launcher.start_error = QStringLiteral("brak wine");
    list.window->actions.entry_activation.activate_entry(0);
    EXPECT_EQ(list.fixture.messages.shown, QStringList{QStringLiteral("brak wine")});
}

} // namespace
} // namespace kelvox::test
