#include "platform/registry.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <vector>

namespace kelvox {
namespace {

// Builds of the menu have always been 32-bit programs, whose HKEY_LOCAL_MACHINE\SOFTWARE Windows keeps
// in the 32-bit view on 64-bit systems; asking for that view lets a 64-bit build share their settings.
constexpr REGSAM kFullAccess = KEY_ALL_ACCESS | KEY_WOW64_32KEY;

HKEY root_handle(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::local_machine:
        return HKEY_LOCAL_MACHINE;
    case RegistryRoot::current_user:
        return HKEY_CURRENT_USER;
    }
    return HKEY_LOCAL_MACHINE;
}

// QString holds UTF-16, which is what wchar_t is on Windows.
const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

QString up_to_first_zero(const wchar_t* text, std::size_t length) {
    std::size_t end = 0;
    while (end < length && text[end] != L'\0')
        ++end;
    return QString::fromWCharArray(text, static_cast<qsizetype>(end));
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { RegCloseKey(key_); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    RegistryDword read_dword(const QString& name) override {
        DWORD type = REG_NONE;
        DWORD value = 0;
        DWORD size = sizeof value;
        const LONG result =
            RegQueryValueExW(key_, wide(name), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        if (result == ERROR_FILE_NOT_FOUND)
            return {};
        // ERROR_MORE_DATA: a value larger than four bytes, so not a REG_DWORD either.
        if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
            return {RegistryReadStatus::wrong_type, 0};
        return {RegistryReadStatus::ok, value};
    }

    RegistryString read_string(const QString& name) override {
        // The value may grow between asking for its size and reading it; ask again until it fits.
        DWORD type = REG_NONE;
        DWORD size = 0;
        LONG result = RegQueryValueExW(key_, wide(name), nullptr, &type, nullptr, &size);
        std::vector<wchar_t> buffer;
        while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
            if (type != REG_SZ && type != REG_EXPAND_SZ)
                return {RegistryReadStatus::wrong_type, {}};
            // One spare character: the stored text need not end with its zero. A value of an odd byte
            // count is rounded up, or the buffer would stay one byte short and this loop never end.
            buffer.assign((size + sizeof(wchar_t) - 1) / sizeof(wchar_t) + 1, L'\0');
            DWORD capacity = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
            result = RegQueryValueExW(key_, wide(name), nullptr, &type,
                                      reinterpret_cast<BYTE*>(buffer.data()), &capacity);
            if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ))
                return {RegistryReadStatus::ok, up_to_first_zero(buffer.data(), capacity / sizeof(wchar_t))};
            size = capacity;
        }
        if (result == ERROR_FILE_NOT_FOUND)
            return {};
        return {RegistryReadStatus::wrong_type, {}};
    }

    bool write_dword(const QString& name, std::uint32_t value) override {
        const DWORD data = value;
        return RegSetValueExW(key_, wide(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data) == ERROR_SUCCESS;
    }

    bool write_string(const QString& name, const QString& value) override {
        const qsizetype zero = value.indexOf(QChar(0));
        const QString text = zero < 0 ? value : value.left(zero);
        const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(key_, wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide(text)),
                              bytes) == ERROR_SUCCESS;
    }

private:
    HKEY key_;
};

class Win32Registry final : public Registry {
public:
    std::unique_ptr<RegistryKey> open_key(RegistryRoot root, const QString& path, bool create) override {
        // The path is always taken from the root; the API itself refuses a leading backslash.
        const QString relative = path.startsWith(QLatin1Char('\\')) ? path.mid(1) : path;
        HKEY key = nullptr;
        LONG result = RegOpenKeyExW(root_handle(root), wide(relative), 0, kFullAccess, &key);
        if (result == ERROR_FILE_NOT_FOUND && create)
            result = RegCreateKeyExW(root_handle(root), wide(relative), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     kFullAccess, nullptr, &key, nullptr);
        if (result != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<Win32RegistryKey>(key);
    }
};

} // namespace

std::unique_ptr<Registry> system_registry() {
    return std::make_unique<Win32Registry>();
}

} // namespace kelvox
