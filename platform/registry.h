#pragma once
// The system registry: keys under a root, opened by path, holding named 32-bit and string values.
// Windows has the real one; elsewhere it is a text file in the registry editor's export format
// (platform/registry/registry_file.h). Menu code sees only this interface, so tests can hand it a
// fake whose keys refuse to open or whose writes fail.
#include <QString>

#include <cstdint>
#include <memory>

namespace kelvox {

enum class RegistryRoot {
    local_machine, // HKEY_LOCAL_MACHINE
    current_user,  // HKEY_CURRENT_USER
};

enum class RegistryReadStatus {
    ok,
    missing,    // the key has no value of that name
    wrong_type, // the value exists but is not of the type asked for, or cannot be read as one
};

struct RegistryDword {
    RegistryReadStatus status = RegistryReadStatus::missing;
    std::uint32_t value = 0;
};

struct RegistryString {
    RegistryReadStatus status = RegistryReadStatus::missing;
    QString value;
};

// An open key. Destroying it closes it.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;
    // A 32-bit value (REG_DWORD).
    virtual RegistryDword read_dword(const QString& name) = 0;
    // A plain or expandable string (REG_SZ, REG_EXPAND_SZ; the latter is not expanded), up to its first
    // zero character.
    virtual RegistryString read_string(const QString& name) = 0;
    // Each write reaches the store before it returns; false when it could not be written.
    virtual bool write_dword(const QString& name, std::uint32_t value) = 0;
    // Written as REG_SZ with its terminating zero; text after a zero character inside it is dropped.
    virtual bool write_string(const QString& name, const QString& value) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;
    // Opens the key at the backslash-separated path under the root, asking for full access, and for
    // reading alone where full access is refused (the key's writes then fail); a leading backslash is
    // allowed (the path is always taken from the root). With create, a missing key is created together
    // with the keys above it. Null when the key cannot be opened (absent, refused) or, with create,
    // cannot be created either.
    virtual std::unique_ptr<RegistryKey> open_key(RegistryRoot root, const QString& path, bool create) = 0;
};

// This system's registry: the Win32 registry on Windows, the user's registry file elsewhere.
std::unique_ptr<Registry> system_registry();

} // namespace kelvox
