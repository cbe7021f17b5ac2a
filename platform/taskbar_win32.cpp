#include "platform/desktop_taskbar.h"

#include <windows.h>

namespace kelvox {

namespace {

void show_tray(int command) {
    if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr))
        ShowWindow(tray, command);
}

} // namespace

void DesktopTaskbar::Hide() {
    show_tray(SW_HIDE);
}
void DesktopTaskbar::Show() {
    show_tray(SW_SHOW);
}

} // namespace kelvox
