#include "platform/system_services.h"

#include "platform/launcher.h"
#include "platform/media_player.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_font_registry.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_modal_runner.h"
#include "platform/qt/qt_screen.h"
#include "platform/registry.h"
#include "platform/taskbar.h"

namespace kelvox {

std::unique_ptr<MessageBoxes> system_message_boxes() {
    return std::make_unique<QtMessageBoxes>();
}

// In the order they are made; they go in the reverse order.
struct SystemServices::Parts {
    QtScreen screen;
    std::unique_ptr<Registry> registry = system_registry();
    std::unique_ptr<Taskbar> taskbar = system_taskbar();
    QtFontRegistry fonts;
    std::unique_ptr<MediaPlayer> player = system_media_player();
    std::unique_ptr<Launcher> launcher = system_launcher();
    QtFileDialogs file_dialogs;
    QtModalRunner modal;
    Services services;

    Parts(Application& application, MessageBoxes& messages)
        : services{application, screen,  *registry, *taskbar,     fonts,
                   messages,    *player, *launcher, file_dialogs, modal} {}
};

SystemServices::SystemServices(Application& application, MessageBoxes& messages)
    : parts_(std::make_unique<Parts>(application, messages)) {}

SystemServices::~SystemServices() = default;

Services& SystemServices::services() {
    return parts_->services;
}

} // namespace kelvox
