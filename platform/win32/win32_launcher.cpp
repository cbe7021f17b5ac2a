#include "platform/launcher.h"

#include "platform/disc_path.h"
#include "platform/win32/win32_text.h"

#include <shellapi.h>

namespace kelvox {

namespace {

struct Resolved {
    QString file;      // absolute, in Windows' own form
    QString directory; // absolute, in Windows' own form
};

Resolved resolve(const QString& file, const QString& directory) {
    const QString dir = windows_path(directory.isEmpty() ? QDir::currentPath() : native_path(directory));
    const QString path = QDir::isAbsolutePath(disc_to_slashes(file))
                             ? native_path(file)
                             : native_path(dir + QLatin1Char('\\') + file);
    return {windows_path(path), dir};
}

// A Windows file name cannot hold a quote, so quotes alone keep one with spaces a single argument.
QString quoted(const QString& argument) {
    return QLatin1Char('"') + argument + QLatin1Char('"');
}

bool create_process(const QString& application, QString command_line, const QString& directory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // The command line must be writable: the function may change it while it parses it.
    if (!CreateProcessW(wide(application), reinterpret_cast<wchar_t*>(command_line.data()), nullptr, nullptr,
                        FALSE, 0, nullptr, wide(directory), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// A batch file runs in the command interpreter. "/s /c" takes the whole rest of the line, quotes and
// all, so a name with spaces or "&" stays one name.
bool start_batch(const QString& batch, const QString& directory) {
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    const QString interpreter = QString::fromWCharArray(system, length) + QStringLiteral("\\cmd.exe");
    return create_process(
        interpreter, quoted(interpreter) + QStringLiteral(" /d /s /c \"") + quoted(batch) + QLatin1Char('"'),
        directory);
}

// The shell's "open", as a double click in the file's folder would do it. Without a window of its own
// the shell shows no error box: a file it cannot open is passed over as on the other systems.
bool shell_open(const Resolved& target) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = wide(target.file);
    info.lpDirectory = wide(target.directory);
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

// The programs and documents a disc's author names are started as on the other systems: the program
// itself where it can be, the shell's "open" for everything else, and false when nothing could be done.
class Win32Launcher final : public Launcher {
public:
    bool start_program(const QString& program, const QString& directory) override {
        const Resolved target = resolve(program, directory);
        if (!QFileInfo(target.file).isFile())
            return false;
        const QString suffix = QFileInfo(target.file).suffix().toLower();
        if (suffix == QLatin1String("exe"))
            return create_process(target.file, quoted(target.file), target.directory);
        if (suffix == QLatin1String("bat"))
            return start_batch(target.file, target.directory);
        return shell_open(target);
    }

    bool open_document(const QString& file, const QString& directory) override {
        const Resolved target = resolve(file, directory);
        if (!QFileInfo::exists(target.file))
            return false;
        return shell_open(target);
    }
};

} // namespace

std::unique_ptr<Launcher> system_launcher() {
    return std::make_unique<Win32Launcher>();
}

} // namespace kelvox
