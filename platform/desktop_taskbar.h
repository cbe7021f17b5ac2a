#pragma once
// The real taskbar: on Windows the tray window; on X11 the desktop's dock windows (panels); on other
// platforms (or under Qt's offscreen platform) nothing.
#include "platform/taskbar.h"

#include <cstdint>
#include <vector>

namespace kelvox {

class DesktopTaskbar : public Taskbar {
public:
    void hide() override;
    void show() override;

private:
    // X11: the dock windows this object unmapped, mapped again by show().
    std::vector<std::uint64_t> hidden_;
};

} // namespace kelvox
