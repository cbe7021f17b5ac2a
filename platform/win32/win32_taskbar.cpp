#include "platform/taskbar.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <csignal>

namespace kelvox {

namespace {

// The shell's tray windows: the taskbar of the main screen and one on each further screen.
constexpr const wchar_t* kTrayClasses[] = {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"};

// The windows belong to the shell's process: a request is posted rather than waited for, so that a shell
// that does not answer cannot hang the menu, or a crash on its way out.

// What this process hid, kept where a crash handler can reach it without taking a lock or allocating.
// A handle is claimed (exchanged for null) by whoever shows it, so no window is shown twice.
std::array<std::atomic<HWND>, 16> hidden_windows{};
std::atomic<LPTOP_LEVEL_EXCEPTION_FILTER> earlier_filter{nullptr};
std::atomic<bool> guard_installed{false};

void show_hidden_windows() {
    for (auto& slot : hidden_windows) {
        if (const HWND window = slot.exchange(nullptr))
            ::ShowWindowAsync(window, SW_SHOWNA);
    }
}

bool is_tray_window(HWND window) {
    wchar_t name[64] = {};
    if (::GetClassNameW(window, name, int(std::size(name))) == 0)
        return false;
    for (const wchar_t* tray : kTrayClasses) {
        if (::lstrcmpW(name, tray) == 0)
            return true;
    }
    return false;
}

BOOL CALLBACK hide_if_tray(HWND window, LPARAM) {
    if (!is_tray_window(window) || !::IsWindowVisible(window))
        return TRUE;
    for (auto& slot : hidden_windows) {
        HWND empty = nullptr;
        if (slot.compare_exchange_strong(empty, window)) {
            ::ShowWindowAsync(window, SW_HIDE);
            return TRUE;
        }
    }
    // More tray windows than places: one that could not be remembered is left where it is rather
    // than lost for good.
    return TRUE;
}

// A reader whose menu crashed must not be left without a taskbar: the windows come back before the
// crash takes its usual course.
LONG WINAPI show_before_crash(EXCEPTION_POINTERS* exception) {
    show_hidden_windows();
    if (const auto earlier = earlier_filter.load())
        return earlier(exception);
    return EXCEPTION_CONTINUE_SEARCH;
}

// abort() (a failed assertion, std::terminate) ends the process without the exception filter.
void show_before_abort(int signal_number) {
    show_hidden_windows();
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

void install_crash_guard() {
    if (guard_installed.exchange(true))
        return;
    earlier_filter = ::SetUnhandledExceptionFilter(&show_before_crash);
    std::signal(SIGABRT, &show_before_abort);
}

class Win32Taskbar final : public Taskbar {
public:
    ~Win32Taskbar() override { show(); }

    void hide() override {
        install_crash_guard();
        ::EnumWindows(&hide_if_tray, 0);
    }

    void show() override { show_hidden_windows(); }
};

} // namespace

std::unique_ptr<Taskbar> system_taskbar() {
    return std::make_unique<Win32Taskbar>();
}

} // namespace kelvox
