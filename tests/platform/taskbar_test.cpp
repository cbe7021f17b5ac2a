// The shell's tray windows, stood in for by windows of their classes made here: hidden and shown again,
// and shown again when the process that hid them crashes or aborts.
#include "platform/taskbar.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace kelvox;

namespace {

const char* const kChildMode = "KELVOX_TASKBAR_CHILD";

HWND make_window(const wchar_t* class_name) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = class_name;
    RegisterClassW(&window_class);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, class_name, L"", WS_POPUP, 0, 0, 200, 30, nullptr,
                                  nullptr, window_class.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNA);
    return window;
}

// Requests reach the windows through this thread's queue: it is pumped until every window is as
// expected, or two seconds have passed.
bool all_become(const std::vector<HWND>& windows, bool visible, HANDLE also_wait_for = nullptr) {
    const DWORD deadline = GetTickCount() + 2000;
    while (GetTickCount() < deadline) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        bool all = true;
        for (HWND window : windows)
            all = all && (IsWindowVisible(window) != FALSE) == visible;
        if (all && (also_wait_for == nullptr || WaitForSingleObject(also_wait_for, 0) == WAIT_OBJECT_0))
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

class TaskbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        windows = {make_window(L"Shell_TrayWnd"), make_window(L"Shell_SecondaryTrayWnd"),
                   make_window(L"Shell_SecondaryTrayWnd")};
        other = make_window(L"KelvoxNotATray");
    }
    void TearDown() override {
        for (HWND window : windows)
            DestroyWindow(window);
        DestroyWindow(other);
    }

    // This program again, running only the child case, which hides the tray and then ends as `how` says.
    DWORD run_child(const char* how) {
        wchar_t program[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        std::wstring command =
            L"\"" + std::wstring(program) + L"\" --gtest_filter=TaskbarChild.HidesThenEnds";
        SetEnvironmentVariableA(kChildMode, how);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        const BOOL started = CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            nullptr, &startup, &process);
        SetEnvironmentVariableA(kChildMode, nullptr);
        if (!started)
            return DWORD(-1);
        hidden_by_child = all_become(windows, false);
        restored_after_child = all_become(windows, true, process.hProcess);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    std::vector<HWND> windows;
    HWND other = nullptr;
    bool hidden_by_child = false;
    bool restored_after_child = false;
};

} // namespace

TEST_F(TaskbarTest, HidesEveryTrayWindowAndShowsThemAgain) {
    {
        const std::unique_ptr<Taskbar> taskbar = system_taskbar();
        taskbar->hide();
        EXPECT_TRUE(all_become(windows, false));
        EXPECT_TRUE(IsWindowVisible(other));
        taskbar->show();
        EXPECT_TRUE(all_become(windows, true));
        taskbar->hide();
        EXPECT_TRUE(all_become(windows, false));
    }
    // Whoever forgets to show it, the taskbar comes back when the menu's object goes.
    EXPECT_TRUE(all_become(windows, true));
}

TEST_F(TaskbarTest, ComesBackWhenTheMenuCrashesOrAborts) {
    for (const char* how : {"crash", "abort"}) {
        const DWORD code = run_child(how);
        EXPECT_NE(code, 0u) << how;
        EXPECT_NE(code, DWORD(-1)) << how << ": the child did not start";
        EXPECT_TRUE(hidden_by_child) << how;
        EXPECT_TRUE(restored_after_child) << how;
    }
}

// Runs only as the child of the case above.
TEST(TaskbarChild, HidesThenEnds) {
    const char* how = std::getenv(kChildMode);
    if (how == nullptr)
        GTEST_SKIP() << "run by ComesBackWhenTheMenuCrashesOrAborts";
    // The crash must end the child, not wait on the system's crash box (wine's debugger, on a display).
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    const std::unique_ptr<Taskbar> taskbar = system_taskbar();
    taskbar->hide();
    Sleep(500);
    if (std::string(how) == "abort")
        std::abort();
    *static_cast<volatile int*>(nullptr) = 1;
}
