#include "platform/dynamic_library.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

#include <iterator>

namespace kelvox {

namespace {

void* open_module(const QString& file) {
    return reinterpret_cast<void*>(LoadLibraryW(reinterpret_cast<const wchar_t*>(file.utf16())));
}

} // namespace

QString DynamicLibrary::file_name_for(const QString& module) {
    return module.toLower() + QStringLiteral(".dll");
}

QString DynamicLibrary::program_directory() {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer))
        return QDir::currentPath();
    return QFileInfo(QString::fromWCharArray(buffer, int(length))).absolutePath();
}

std::unique_ptr<DynamicLibrary> DynamicLibrary::load(const QString& module) {
    const QString file = file_name_for(module);
    const QString beside_program = QDir::toNativeSeparators(program_directory() + QLatin1Char('/') + file);
    void* handle = nullptr;
    if (QFileInfo::exists(beside_program))
        handle = open_module(beside_program);
    if (!handle)
        handle = open_module(file);
    if (!handle)
        return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

std::unique_ptr<DynamicLibrary> DynamicLibrary::load_file(const QString& path) {
    void* handle = open_module(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    if (!handle)
        return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() {
    FreeLibrary(reinterpret_cast<HMODULE>(handle_));
}

void* DynamicLibrary::symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
}

} // namespace kelvox
