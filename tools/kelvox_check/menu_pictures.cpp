#include "tools/kelvox_check/menu_pictures.h"

#include "app/settings_store.h"
#include "app/tform1.h"
#include "platform/application.h"
#include "platform/file_dialogs.h"
#include "platform/launcher.h"
#include "platform/media_player.h"
#include "platform/modal_runner.h"
#include "platform/platform_error.h"
#include "platform/qt/qt_font_registry.h"
#include "platform/registry/registry_file.h"
#include "platform/screen.h"
#include "platform/taskbar.h"
#include "tools/kelvox_check/menu_start.h"

#include <QTemporaryDir>

#include <exception>
#include <memory>

namespace kelvox::check {

namespace {

class ReportScreen final : public Screen {
public:
    int width() const override { return 1024; }
    int height() const override { return 768; }
};

class NoTaskbar final : public Taskbar {
public:
    void hide() override {}
    void show() override {}
};

class SilentPlayer final : public MediaPlayer {
public:
    void open(const QString&) override {}
    void play() override {}
    void stop() override {}
    void close() override {}
    void rewind() override {}
    MediaMode mode() const override { return MediaMode::stopped; }
};

class NoLauncher final : public Launcher {
public:
    bool start_program(const QString&, const QString&) override { return false; }
    bool open_document(const QString&, const QString&) override { return false; }
};

class NoFileDialogs final : public FileDialogs {
public:
    QString open_file(const QString&, const QString&) override { return {}; }
};

class NoModalRunner final : public ModalRunner {
public:
    void run(Form&) override {}
};

// The settings the pictures are drawn with, in a registry file of their own: the window rather than the full
// screen, no animation to wait for, the taskbar left alone, the skin's own wallpaper, no music.
struct ReportSettings {
    ReportSettings() {
        MenuSettings settings;
        set_default_settings(settings);
        settings.full_screen = false;
        settings.animations = false;
        settings.show_taskbar = true;
        settings.sound = false;
        RecordedBoxes boxes;
        save_settings(settings, registry, boxes);
    }

    QTemporaryDir directory;
    FileRegistry registry{directory.filePath(QStringLiteral("registry.reg"))};
};

// Runs the animation clock's steps on this thread until none is left; a step that never ends stops
// the drawing rather than the checker.
void run_steps(TForm1& window) {
    for (int ticks = 0; window.timer1.OnTimer() && ticks < 2000; ++ticks)
        window.timer1.Timer();
}

QImage piece(const QImage& frame, const Control& control) {
    return frame.copy(control.Left(), control.Top(), control.Width(), control.Height());
}

QString failure_text(const std::exception& error) {
    if (const auto* platform_error = dynamic_cast<const PlatformError*>(&error))
        return platform_error->message();
    return QString::fromLocal8Bit(error.what());
}

void draw_panels(TForm1& window, MenuPictures& pictures) {
    // Every entry is drawn as the first choice after the start, as the check reads it.
    const AfterStart after_start = AfterStart::take(window.reader, window.parser, window.catalogue);
    for (int s = 0; s < window.catalogue.section_count(); ++s) {
        window.screen.section_bar.select_section(s);
        run_steps(window);
        std::vector<QImage>& panels = pictures.panels.emplace_back();
        for (int e = 0; e < window.catalogue.entry_count(s); ++e) {
            after_start.restore(window.reader, window.parser, window.catalogue);
            window.screen.detail_panel.forget_picture();
            window.state.panel_shown = false;
            window.actions.entry_activation.select_entry(e);
            run_steps(window);
            panels.push_back(piece(window.ComposeFrame(), window.controls.panelek));
        }
    }
}

} // namespace

MenuPictures draw_menu_pictures(const QString& root) {
    MenuPictures pictures;
    if (Application::Instance() == nullptr) {
        pictures.failure = QStringLiteral("the checker has no application to draw in");
        return pictures;
    }
    DirectoryKeeper keeper;
    QDir::setCurrent(root);
    ReportScreen screen;
    ReportSettings settings;
    NoTaskbar taskbar;
    QtFontRegistry fonts;
    RecordedBoxes messages;
    SilentPlayer player;
    NoLauncher launcher;
    NoFileDialogs file_dialogs;
    NoModalRunner modal;
    Services services{*Application::Instance(),
                      screen,
                      settings.registry,
                      taskbar,
                      fonts,
                      messages,
                      player,
                      launcher,
                      file_dialogs,
                      modal};
    std::unique_ptr<TForm1> window;
    try {
        window = std::make_unique<TForm1>(services);
    } catch (const std::exception& error) {
        pictures.failure = failure_text(error);
        return pictures;
    }
    // The ticker's strip is not drawn; its clock would only take turns with the panel's steps.
    window->scrolltimer.SetEnabled(false);
    run_steps(*window);
    pictures.window = QSize(window->ClientWidth(), window->ClientHeight());
    pictures.section_bar = piece(window->ComposeFrame(), window->controls.menu);
    draw_panels(*window, pictures);
    window->FormClose();
    return pictures;
}

} // namespace kelvox::check
