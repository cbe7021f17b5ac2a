// The program entry: the application object, its title, the main window, the message loop. The
// program takes no arguments; its directory is the current one, the root of the disc.
#include "app/tform1.h"
#include "platform/application.h"
#include "platform/application_fonts.h"
#include "platform/desktop_taskbar.h"
#include "platform/file_dialogs.h"
#include "platform/launcher.h"
#include "platform/media_player.h"
#include "platform/modal_runner.h"
#include "platform/primary_screen.h"
#include "platform/qt_message_boxes.h"
#include "platform/registry.h"
#include "platform/services.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <new>

namespace {

QString error_text(const std::exception& error) {
    if (const auto* platform_error = dynamic_cast<const kelvox::PlatformError*>(&error))
        return platform_error->message();
    // The library's own name for it means nothing to a reader.
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
        return QStringLiteral("Out of memory");
    return QString::fromLocal8Bit(error.what());
}

} // namespace

int main(int argc, char** argv) {
    using namespace kelvox;
    std::unique_ptr<Application> application;
    try {
        application = std::make_unique<Application>(argc, argv);
    } catch (const std::exception& error) {
        // Without an application object there is no message box to show the error in.
        std::fprintf(stderr, "%s\n", error.what());
        return 0;
    }
    QtMessageBoxes messages;
    try {
        application->SetTitle(QStringLiteral("Kelvox Cover menu"));
        PrimaryScreen screen;
        const std::unique_ptr<Registry> registry = system_registry();
        DesktopTaskbar taskbar;
        ApplicationFonts fonts;
        QtMediaPlayer player;
        SystemLauncher launcher;
        QtFileDialogs file_dialogs;
        QtModalRunner modal;
        Services services{*application, screen, *registry, taskbar,      fonts,
                          messages,     player, launcher,  file_dialogs, modal};
        TForm1 form(services);
        application->SetMainForm(&form);
        // The application outlives the window: it must forget the window before the window goes.
        struct ForgetMainForm {
            Application& application;
            ~ForgetMainForm() { application.SetMainForm(nullptr); }
        } forget_main_form{*application};
        form.Show();
        application->Run();
    } catch (const std::exception& error) {
        messages.show(error_text(error));
    }
    return 0;
}
