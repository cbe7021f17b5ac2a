#pragma once
// The taskbar of an X11 desktop: its dock windows (panels). Under another Qt platform (offscreen,
// Wayland) there is nothing to hide.
#include "platform/taskbar.h"

#include <cstdint>
#include <vector>

namespace kelvox {

class X11Taskbar : public Taskbar {
public:
    void hide() override;
    void show() override;

private:
    // The dock windows this object unmapped, mapped again by show().
    std::vector<std::uint64_t> hidden_;
};

} // namespace kelvox
