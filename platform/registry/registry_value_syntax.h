#pragma once
// One value line of the registry file, in the syntax of the registry editor's REGEDIT4 exports:
//   "PELNY_EKRAN"=dword:00000001
//   "TAPETA"="tapeta.bmp"                 (\\ and \" are the only escapes)
//   "Sciezka"=hex(2):25,54,45,4d,50,25,00 (typed bytes; hex(2) is an expandable string)
//   @="..."                               (the key's unnamed value)
#include <QString>

#include <cstdint>
#include <optional>

namespace kelvox {

enum class RegistryFileType {
    string,        // REG_SZ
    expand_string, // REG_EXPAND_SZ
    dword,         // REG_DWORD
    other,         // any other type, and data that cannot be parsed
};

struct RegistryFileValue {
    RegistryFileType type = RegistryFileType::other;
    QString text;             // string types, up to the first zero byte of typed bytes
    std::uint32_t number = 0; // dword
};

struct RegistryValueLine {
    QString name; // empty for the unnamed value "@"
    RegistryFileValue value;
};

// A logical line (continuations already joined) as a value. Nothing when the line is no value line:
// its name cannot be read, or it is a deletion ("NAME"=-) as the editor imports them. A readable name
// with unreadable data is a value of type other, so a damaged value is reported, not taken as absent.
std::optional<RegistryValueLine> parse_value_line(const QString& line);

// The line that stores the value. Strings with line breaks are stored as typed bytes, since a quoted
// string cannot span lines. Nothing when the value cannot be stored: a name with a line break, or
// type other.
std::optional<QString> format_value_line(const QString& name, const RegistryFileValue& value);

// Whether a physical line ends with the continuation backslash of a value's byte list.
bool continues_on_next_line(const QString& line);

} // namespace kelvox
