#pragma once
// Run-time loading of a module and lookup of its entry points. A module is named as the menu knows it
// ("UNRAR"); the platform's file name for it is looked for next to the program first, so a disc can carry
// its own copy, and then wherever the platform's loader searches; on Windows, whose loader would look in
// the current directory too, next to the program only.
#include <QString>

#include <functional>
#include <memory>

namespace kelvox {

class DynamicLibrary {
public:
    // The module by its menu name, or null when it cannot be found or loaded.
    static std::unique_ptr<DynamicLibrary> load(const QString& module);
    // The module in exactly this file, or null.
    static std::unique_ptr<DynamicLibrary> load_file(const QString& path);
    // "UNRAR" → "unrar.dll" on Windows, "libunrar.so" elsewhere.
    static QString file_name_for(const QString& module);
    // The directory of the running program in the platform's own form, without a trailing separator.
    static QString program_directory();

    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    // Unloads the module.
    ~DynamicLibrary();

    // The entry point of that name, or null when the module does not export it.
    void* symbol(const char* name) const;
    template <typename Function> Function entry_point(const char* name) const {
        return reinterpret_cast<Function>(symbol(name));
    }

private:
    explicit DynamicLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};

// How a component gets its modules; tests hand in one that loads a stand-in.
using LibraryLoader = std::function<std::unique_ptr<DynamicLibrary>(const QString& module)>;

} // namespace kelvox
