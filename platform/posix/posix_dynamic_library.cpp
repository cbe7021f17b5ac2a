#include "platform/dynamic_library.h"

#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>
#include <unistd.h>

#include <vector>

namespace kelvox {

namespace {

void* open_module(const QByteArray& file) {
    return dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
}

} // namespace

QString DynamicLibrary::file_name_for(const QString& module) {
    return QStringLiteral("lib") + module.toLower() + QStringLiteral(".so");
}

QString DynamicLibrary::program_directory() {
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return QDir::currentPath();
    return QFileInfo(QString::fromLocal8Bit(buffer.data(), length)).absolutePath();
}

std::unique_ptr<DynamicLibrary> DynamicLibrary::load(const QString& module) {
    const QString file = file_name_for(module);
    const QString beside_program = program_directory() + QLatin1Char('/') + file;
    void* handle = nullptr;
    if (QFileInfo::exists(beside_program))
        handle = open_module(QFile::encodeName(beside_program));
    // A bare name (no slash) makes the loader search LD_LIBRARY_PATH, the cache and the system directories.
    if (!handle)
        handle = open_module(QFile::encodeName(file));
    if (!handle)
        return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

std::unique_ptr<DynamicLibrary> DynamicLibrary::load_file(const QString& path) {
    // A name without a slash would be searched for; a path given here is meant as it stands.
    const QString exact = path.contains(QLatin1Char('/')) ? path : QStringLiteral("./") + path;
    void* handle = open_module(QFile::encodeName(exact));
    if (!handle)
        return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() {
    dlclose(handle_);
}

void* DynamicLibrary::symbol(const char* name) const {
    return dlsym(handle_, name);
}

} // namespace kelvox
