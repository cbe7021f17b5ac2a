#include "platform/registry/registry_value_syntax.h"

#include "platform/text_codec.h"

#include <QByteArray>

namespace kelvox {
namespace {

struct Quoted {
    QString text;
    qsizetype end = 0; // index just past the closing quote
};

// A quoted text starting at `from`, with the two escapes of the format. The text between escapes is
// copied in runs: a value may be megabytes long.
std::optional<Quoted> parse_quoted(const QString& line, qsizetype from) {
    if (from >= line.size() || line[from] != QLatin1Char('"'))
        return std::nullopt;
    QString text;
    qsizetype run = from + 1; // the first character not yet copied
    for (qsizetype i = from + 1; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"')) {
            text += QStringView(line).mid(run, i - run);
            return Quoted{text, i + 1};
        }
        if (c == QLatin1Char('\\')) {
            if (i + 1 >= line.size())
                return std::nullopt;
            const QChar escaped = line[i + 1];
            if (escaped != QLatin1Char('\\') && escaped != QLatin1Char('"'))
                return std::nullopt;
            text += QStringView(line).mid(run, i - run);
            run = ++i; // the escaped character opens the next run
        }
    }
    return std::nullopt;
}

QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

qsizetype skip_spaces(const QString& line, qsizetype at) {
    while (at < line.size() && line[at].isSpace())
        ++at;
    return at;
}

bool only_spaces_from(const QString& line, qsizetype at) {
    return skip_spaces(line, at) == line.size();
}

struct Name {
    QString text;
    qsizetype data_start = 0; // just past the '='
};

std::optional<Name> parse_name(const QString& line) {
    const qsizetype start = skip_spaces(line, 0);
    Name name;
    qsizetype after;
    if (start < line.size() && line[start] == QLatin1Char('@')) {
        after = start + 1;
    } else {
        const auto text = parse_quoted(line, start);
        if (!text)
            return std::nullopt;
        name.text = text->text;
        after = text->end;
    }
    after = skip_spaces(line, after);
    if (after >= line.size() || line[after] != QLatin1Char('='))
        return std::nullopt;
    name.data_start = skip_spaces(line, after + 1);
    return name;
}

bool is_hex_digits(QStringView digits) {
    for (const QChar c : digits)
        if (!(c.isDigit() && c.unicode() < 128) &&
            !(c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
            return false;
    return !digits.isEmpty();
}

std::optional<std::uint32_t> parse_dword_digits(QStringView digits) {
    if (digits.size() > 8 || !is_hex_digits(digits))
        return std::nullopt;
    return digits.toUInt(nullptr, 16);
}

std::optional<QByteArray> parse_byte_list(QStringView list) {
    QByteArray bytes;
    const QString compact = list.toString().remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    if (compact.isEmpty())
        return bytes;
    for (const QString& pair : compact.split(QLatin1Char(','))) {
        if (pair.size() > 2 || !is_hex_digits(pair))
            return std::nullopt;
        bytes.append(static_cast<char>(pair.toUInt(nullptr, 16)));
    }
    return bytes;
}

QString text_of_bytes(const QByteArray& bytes) {
    const qsizetype zero = bytes.indexOf('\0');
    return decode_disc_text(zero < 0 ? bytes : bytes.left(zero));
}

QString byte_list(const QByteArray& bytes) {
    QStringList pairs;
    for (const char byte : bytes)
        pairs << QStringLiteral("%1").arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'));
    return pairs.join(QLatin1Char(','));
}

RegistryFileValue typed_bytes(uint type, const QByteArray& bytes) {
    switch (type) {
    case 1:
        return {RegistryFileType::string, text_of_bytes(bytes), 0};
    case 2:
        return {RegistryFileType::expand_string, text_of_bytes(bytes), 0};
    case 4:
        if (bytes.size() != 4)
            break;
        return {RegistryFileType::dword,
                {},
                static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[0])) |
                    static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[1])) << 8 |
                    static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2])) << 16 |
                    static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[3])) << 24};
    default:
        break;
    }
    return {};
}

// hex:..., hex(N):...
RegistryFileValue parse_hex_data(QStringView data) {
    uint type = 3; // plain "hex:" is binary
    qsizetype colon = 3;
    if (data.size() > 3 && data[3] == QLatin1Char('(')) {
        const qsizetype close = data.indexOf(QLatin1Char(')'));
        if (close < 0 || close - 4 > 8 || !is_hex_digits(data.mid(4, close - 4)))
            return {};
        type = data.mid(4, close - 4).toUInt(nullptr, 16);
        colon = close + 1;
    }
    if (colon >= data.size() || data[colon] != QLatin1Char(':'))
        return {};
    const auto bytes = parse_byte_list(data.mid(colon + 1));
    return bytes ? typed_bytes(type, *bytes) : RegistryFileValue{};
}

RegistryFileValue parse_data(const QString& line, qsizetype start) {
    const QStringView data = QStringView(line).mid(start).trimmed();
    if (data.startsWith(QLatin1Char('"'))) {
        const auto text = parse_quoted(line, start);
        if (!text || !only_spaces_from(line, text->end))
            return {};
        return {RegistryFileType::string, text->text, 0};
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const auto number = parse_dword_digits(data.mid(6));
        return number ? RegistryFileValue{RegistryFileType::dword, {}, *number} : RegistryFileValue{};
    }
    if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive))
        return parse_hex_data(data);
    return {};
}

bool has_line_break(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

std::optional<RegistryValueLine> parse_value_line(const QString& line) {
    const auto name = parse_name(line);
    if (!name)
        return std::nullopt;
    if (QStringView(line).mid(name->data_start).trimmed() == QLatin1String("-"))
        return std::nullopt;
    return RegistryValueLine{name->text, parse_data(line, name->data_start)};
}

std::optional<QString> format_value_line(const QString& name, const RegistryFileValue& value) {
    if (has_line_break(name))
        return std::nullopt;
    const QString head = (name.isEmpty() ? QStringLiteral("@") : quoted(name)) + QLatin1Char('=');
    switch (value.type) {
    case RegistryFileType::dword:
        return head + QStringLiteral("dword:%1").arg(value.number, 8, 16, QLatin1Char('0'));
    case RegistryFileType::string:
        if (!has_line_break(value.text))
            return head + quoted(value.text);
        return head + QStringLiteral("hex(1):") + byte_list(value.text.toUtf8().append('\0'));
    case RegistryFileType::expand_string:
        return head + QStringLiteral("hex(2):") + byte_list(value.text.toUtf8().append('\0'));
    case RegistryFileType::other:
        break;
    }
    return std::nullopt;
}

bool continues_on_next_line(const QString& line) {
    const auto name = parse_name(line);
    return name &&
           QStringView(line).mid(name->data_start).startsWith(QLatin1String("hex"), Qt::CaseInsensitive) &&
           QStringView(line).trimmed().endsWith(QLatin1Char('\\'));
}

} // namespace kelvox
