#include "platform/dynamic_library.h"

#include "platform/win32/win32_text.h"

#include <vector>

namespace kelvox {

namespace {

// The module and the DLLs it needs come from its own folder and the system's, never from the current
// directory or PATH, where a file planted beside a document would be taken instead. A damaged module
// is refused without the system's error box.
void* open_module(const QString& path) {
    DWORD previous_mode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_mode);
    HMODULE module = LoadLibraryExW(wide(windows_path(path)), nullptr,
                                    LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    SetThreadErrorMode(previous_mode, nullptr);
    return reinterpret_cast<void*>(module);
}

} // namespace

QString DynamicLibrary::file_name_for(const QString& module) {
    return module.toLower() + QStringLiteral(".dll");
}

QString DynamicLibrary::program_directory() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return QDir::toNativeSeparators(QDir::currentPath());
        if (length < buffer.size())
            return QDir::toNativeSeparators(
                QFileInfo(QString::fromWCharArray(buffer.data(), length)).absolutePath());
        buffer.resize(buffer.size() * 2);
    }
}

// Only beside the program: a disc carries its own copy, and a module of that name elsewhere on the
// reader's system is not this one.
std::unique_ptr<DynamicLibrary> DynamicLibrary::load(const QString& module) {
    return load_file(program_directory() + QLatin1Char('\\') + file_name_for(module));
}

std::unique_ptr<DynamicLibrary> DynamicLibrary::load_file(const QString& path) {
    void* handle = open_module(path);
    if (!handle)
        return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() {
    FreeLibrary(static_cast<HMODULE>(handle_));
}

void* DynamicLibrary::symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

} // namespace kelvox
