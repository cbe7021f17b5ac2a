#pragma once
// The desktop's taskbar, hidden while the menu runs unless the user wants it. Hiding or showing a
// taskbar the desktop does not have does nothing.
#include <memory>

namespace kelvox {

class Taskbar {
public:
    virtual ~Taskbar() = default;
    virtual void hide() = 0;
    virtual void show() = 0;
};

// The taskbar of this system's desktop.
std::unique_ptr<Taskbar> system_taskbar();

} // namespace kelvox
