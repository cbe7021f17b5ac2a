#include "platform/qt/qt_start_up_work.h"

namespace kelvox {

// Windows reads its fonts and reaches screen readers without a worker's help.
StartUpWork::StartUpWork() = default;
StartUpWork::~StartUpWork() = default;
void StartUpWork::WaitForFonts() {}
void StartUpWork::ConnectSessionBus() {}

} // namespace kelvox
