#include "platform/taskbar.h"

namespace kelvox {

namespace {

// Not written yet: hiding the shell's tray windows while the menu runs, and showing them again when it
// ends. Until then the Windows taskbar stays where it is whatever the setting says.
class Win32Taskbar final : public Taskbar {
public:
    void hide() override {}
    void show() override {}
};

} // namespace

std::unique_ptr<Taskbar> system_taskbar() {
    return std::make_unique<Win32Taskbar>();
}

} // namespace kelvox
