#include "platform/taskbar.h"

namespace kelvox {

namespace {

// A desktop whose panels this build does not know how to hide: they stay where they are.
class NoTaskbar final : public Taskbar {
public:
    void hide() override {}
    void show() override {}
};

} // namespace

std::unique_ptr<Taskbar> system_taskbar() {
    return std::make_unique<NoTaskbar>();
}

} // namespace kelvox
