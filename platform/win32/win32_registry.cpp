#include "platform/registry.h"

#include "platform/win32/win32_text.h"

#include <vector>

namespace kelvox {

namespace {

QString up_to_first_zero(const QString& text) {
    const qsizetype zero = text.indexOf(QChar(0));
    return zero < 0 ? text : text.left(zero);
}

class Win32RegistryKey final : public RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { RegCloseKey(key_); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    RegistryDword read_dword(const QString& name) override {
        DWORD type = 0;
        DWORD value = 0;
        DWORD size = sizeof value;
        const LSTATUS status =
            RegQueryValueExW(key_, wide(name), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        if (status == ERROR_FILE_NOT_FOUND)
            return {};
        if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
            return {RegistryReadStatus::wrong_type, 0};
        return {RegistryReadStatus::ok, value};
    }

    RegistryString read_string(const QString& name) override {
        DWORD type = 0;
        DWORD size = 0;
        LSTATUS status = RegQueryValueExW(key_, wide(name), nullptr, &type, nullptr, &size);
        // The value may grow between asking its size and reading it.
        std::vector<wchar_t> text;
        while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            if (type != REG_SZ && type != REG_EXPAND_SZ)
                return {RegistryReadStatus::wrong_type, {}};
            text.assign(size / sizeof(wchar_t) + 1, L'\0');
            size = DWORD(text.size() * sizeof(wchar_t));
            status = RegQueryValueExW(key_, wide(name), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                                      &size);
            if (status == ERROR_SUCCESS)
                break;
        }
        if (status == ERROR_FILE_NOT_FOUND)
            return {};
        if (status != ERROR_SUCCESS)
            return {RegistryReadStatus::wrong_type, {}};
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return {RegistryReadStatus::wrong_type, {}};
        // A string need not end with its zero, and an odd byte at its end is no character.
        const auto read = QString::fromWCharArray(text.data(), qsizetype(size / sizeof(wchar_t)));
        return {RegistryReadStatus::ok, up_to_first_zero(read)};
    }

    // Written to the registry, which every other reader sees at once; flushing the hive to the disk
    // after each value would cost what the system itself advises against.
    bool write_dword(const QString& name, std::uint32_t value) override {
        const DWORD data = value;
        return RegSetValueExW(key_, wide(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data) == ERROR_SUCCESS;
    }

    bool write_string(const QString& name, const QString& value) override {
        const QString text = up_to_first_zero(value);
        return RegSetValueExW(key_, wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide(text)),
                              DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }

private:
    HKEY key_;
};

HKEY root_key(RegistryRoot root) {
    return root == RegistryRoot::local_machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

class Win32Registry final : public Registry {
public:
    // HKEY_LOCAL_MACHINE is writable by administrators alone: a reader without those rights is refused
    // full access, and still gets his settings through a key opened for reading, whose writes fail (the
    // menu then says that the settings could not be saved).
    std::unique_ptr<RegistryKey> open_key(RegistryRoot root, const QString& path, bool create) override {
        const QString relative = path.startsWith(QLatin1Char('\\')) ? path.mid(1) : path;
        HKEY key = nullptr;
        // A key that exists is opened, never "created" again: wine grants a create full access to a key
        // whose permissions allow only reading.
        LSTATUS status = RegOpenKeyExW(root_key(root), wide(relative), 0, KEY_ALL_ACCESS, &key);
        if (status == ERROR_FILE_NOT_FOUND && create)
            status = RegCreateKeyExW(root_key(root), wide(relative), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr);
        if (status == ERROR_ACCESS_DENIED)
            status = RegOpenKeyExW(root_key(root), wide(relative), 0, KEY_READ, &key);
        if (status != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<Win32RegistryKey>(key);
    }
};

} // namespace

std::unique_ptr<Registry> system_registry() {
    return std::make_unique<Win32Registry>();
}

} // namespace kelvox
