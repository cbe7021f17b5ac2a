#pragma once
// A whole main window on fakes: a generated test disc made current, an in-memory registry, a screen of
// a chosen size, a recording taskbar, font registry, message boxes and media player.
#include "app/tform1.h"
#include "platform/application.h"
#include "platform/services.h"
#include "tests/support/disc_fixture.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/fake_file_dialogs.h"
#include "tests/support/fake_launcher.h"
#include "tests/support/fake_media_player.h"
#include "tests/support/fake_modal_runner.h"
#include "tests/support/fake_registry.h"
#include "tests/support/qt_application.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/test_skin.h"

#include <QDir>
#include <QImage>

#include <memory>

namespace kelvox::test {

inline const QString kSettingsKey = QStringLiteral("\\SOFTWARE\\Kelvox cover menu");

// The Qt application and the platform's application object, once per test program.
inline Application& test_application() {
    qt_application();
    static int argc = 1;
    static char name[] = "kelvox-window-test";
    static char* argv[] = {name, nullptr};
    static Application application(argc, argv);
    return application;
}

// Runs timer1's steps tick by tick, as its worker would, until none is installed or the limit is reached
// (so that a step that never ends fails the test instead of hanging it); returns the ticks run.
inline int run_timer1_steps(TForm1& window, int limit = 2000) {
    int ticks = 0;
    for (; window.timer1.OnTimer() && ticks < limit; ++ticks)
        window.timer1.Timer();
    return ticks;
}

class WindowFixture {
public:
    explicit WindowFixture(const TestSkinOptions& skin = {}) {
        write_test_skin(disc, skin);
        QDir::setCurrent(disc.root());
    }

    // Settings as the registry holds them; unset values keep the defaults of a first start.
    void store_settings(bool full_screen, bool animations, bool show_taskbar, const QString& wallpaper,
                        bool sound) {
        registry.put_dword(kSettingsKey, QStringLiteral("PELNY_EKRAN"), full_screen);
        registry.put_dword(kSettingsKey, QStringLiteral("ANIMACJE"), animations);
        registry.put_dword(kSettingsKey, QStringLiteral("PASEK_ZADAN"), show_taskbar);
        registry.put_string(kSettingsKey, QStringLiteral("TAPETA"), wallpaper);
        registry.put_dword(kSettingsKey, QStringLiteral("DZWIEK"), sound);
    }

    // The window made and its first frame shown, as a start on a desktop goes.
    TForm1& open() {
        window = std::make_unique<TForm1>(services);
        window->OnFirstFrame();
        return *window;
    }

    // Colour (0x00BBGGRR) of the composed frame at a window pixel.
    uint32_t pixel(int x, int y) const {
        const QImage frame = window->ComposeFrame();
        const QRgb rgb = frame.pixel(x, y);
        return static_cast<uint32_t>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
    }

    DiscFixture disc;
    FakeRegistry registry;
    FakeScreen screen{1024, 768};
    FakeTaskbar taskbar;
    FakeFontRegistry fonts;
    RecordingMessageBoxes messages;
    FakeMediaPlayer player;
    FakeLauncher launcher;
    FakeFileDialogs file_dialogs;
    FakeModalRunner modal;
    Services services{test_application(), screen, registry, taskbar,      fonts,
                      messages,           player, launcher, file_dialogs, modal};
    std::unique_ptr<TForm1> window;
};

} // namespace kelvox::test
