// The program entry: the application object, its title, the main window, the message loop. The
// program takes no arguments; its directory is the current one, the root of the disc (or, started in its own
// folder on the disc, the folder above it).
#include "app/skin_prefetch.h"
#include "app/tform1.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/message_boxes.h"
#include "platform/platform_error.h"
#include "platform/system_services.h"

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
    // Before anything reads the disc: the skin is read ahead from the root.
    enter_disc_root_above(QStringLiteral("menu\\index.xml"));
    // Read while the toolkit and the window start.
    std::unique_ptr<BitmapReadAhead> skin = prefetch_skin(current_directory());
    std::unique_ptr<Application> application;
    try {
        application = std::make_unique<Application>(argc, argv);
    } catch (const std::exception& error) {
        // Without an application object there is no message box to show the error in.
        std::fprintf(stderr, "%s\n", error.what());
        return 0;
    }
    const std::unique_ptr<MessageBoxes> messages = system_message_boxes();
    try {
        application->SetTitle(QStringLiteral("Kelvox Cover menu"));
        SystemServices system(*application, *messages);
        TForm1 form(system.services(), skin.get());
        skin.reset(); // what the start did not take
        application->SetMainForm(&form);
        // The application outlives the window: it must forget the window before the window goes.
        struct ForgetMainForm {
            Application& application;
            ~ForgetMainForm() { application.SetMainForm(nullptr); }
        } forget_main_form{*application};
        form.Show();
        application->Run();
    } catch (const std::exception& error) {
        messages->show(error_text(error));
    }
    return 0;
}
