#include "platform/qt/qt_start_up_work.h"

#include <QDBusConnection>

#include <fontconfig/fontconfig.h>

namespace kelvox {

// Safe beside a call of the toolkit's own: the library keeps whichever configuration is loaded first.
StartUpWork::StartUpWork() : fonts_([] { FcInit(); }) {}

StartUpWork::~StartUpWork() {
    WaitForFonts();
    if (bus_.joinable())
        bus_.join();
}

void StartUpWork::WaitForFonts() {
    if (fonts_.joinable())
        fonts_.join();
}

// The toolkit keeps the connection for the program's run; a bus that cannot be reached is the
// bridge's to report, as before.
void StartUpWork::ConnectSessionBus() {
    if (!bus_.joinable())
        bus_ = std::thread([] { QDBusConnection::sessionBus(); });
}

} // namespace kelvox
