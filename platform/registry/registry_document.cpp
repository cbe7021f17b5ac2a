#include "platform/registry/registry_document.h"

#include "platform/text_codec.h"

#include <algorithm>

namespace kelvox {
namespace {

const QString kFormatLine = QStringLiteral("REGEDIT4");

bool same_name(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool is_same_or_below(const QString& candidate, const QString& key) {
    if (candidate.size() == key.size())
        return same_name(candidate, key);
    return candidate.size() > key.size() && candidate[key.size()] == QLatin1Char('\\') &&
           candidate.startsWith(key, Qt::CaseInsensitive);
}

bool is_header(const QString& line) {
    return line.trimmed().startsWith(QLatin1Char('['));
}

// "[KEY]" gives KEY; a deletion "[-KEY]" or a header without its bracket belongs to no key. The last
// bracket closes the name, since key names may themselves hold brackets.
std::optional<QString> key_of_header(const QString& line) {
    const QString trimmed = line.trimmed();
    const qsizetype close = trimmed.lastIndexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    const QString key = trimmed.mid(1, close - 1);
    if (key.isEmpty() || key.startsWith(QLatin1Char('-')))
        return std::nullopt;
    return key;
}

// The byte list continues after a backslash at the line's end, on the next line after its indent.
QString join_continuation(const QString& logical, const QString& next) {
    QString head = logical.trimmed();
    head.chop(1);
    return head + next.trimmed();
}

bool is_blank(const QStringList& lines) {
    return lines.size() == 1 && lines.front().trimmed().isEmpty();
}

} // namespace

RegistryDocument::RegistryDocument() {
    sections_.append(Section{});
    append_line_block(kFormatLine);
    append_line_block(QString());
}

std::optional<RegistryDocument> RegistryDocument::parse(const QString& text) {
    const QStringList lines = split_lines(text);
    if (std::all_of(lines.begin(), lines.end(), [](const QString& line) { return line.trimmed().isEmpty(); }))
        return RegistryDocument();
    if (lines.front().trimmed() != kFormatLine)
        return std::nullopt;

    RegistryDocument document;
    document.sections_ = {Section{}};
    if (text.contains(QLatin1String("\r\n")))
        document.line_end_ = QStringLiteral("\r\n");
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (is_header(lines[i])) {
            document.sections_.append(Section{lines[i], key_of_header(lines[i]), {}});
            continue;
        }
        Block block{{lines[i]}, std::nullopt};
        QString logical = lines[i];
        while (continues_on_next_line(logical) && i + 1 < lines.size()) {
            logical = join_continuation(logical, lines[++i]);
            block.lines.append(lines[i]);
        }
        Section& section = document.sections_.back();
        if (section.key)
            block.value = parse_value_line(logical);
        section.blocks.append(block);
    }
    return document;
}

QString RegistryDocument::text() const {
    QString text;
    for (const Section& section : sections_) {
        if (section.header)
            text += *section.header + line_end_;
        for (const Block& block : section.blocks)
            for (const QString& line : block.lines)
                text += line + line_end_;
    }
    return text;
}

bool RegistryDocument::has_key(const QString& key) const {
    return std::any_of(sections_.begin(), sections_.end(), [&](const Section& section) {
        return section.key && is_same_or_below(*section.key, key);
    });
}

void RegistryDocument::add_key(const QString& key) {
    if (!has_key(key))
        append_section(key);
}

std::optional<RegistryFileValue> RegistryDocument::value(const QString& key, const QString& name) const {
    const auto place = find_value(key, name);
    if (!place)
        return std::nullopt;
    return sections_[place->section].blocks[place->block].value->value;
}

bool RegistryDocument::set_value(const QString& key, const QString& name, const RegistryFileValue& value) {
    const auto place = find_value(key, name);
    const QString stored_name = place ? sections_[place->section].blocks[place->block].value->name : name;
    const auto line = format_value_line(stored_name, value);
    if (!line)
        return false;
    const Block block{{*line}, RegistryValueLine{stored_name, value}};
    if (place) {
        sections_[place->section].blocks[place->block] = block;
        return true;
    }
    // A key known only from the sections below it gets a section of its own.
    auto section_index = last_section_of(key);
    if (!section_index) {
        append_section(key);
        section_index = sections_.size() - 1;
    }
    QList<Block>& blocks = sections_[*section_index].blocks;
    qsizetype after_last_value = 0;
    for (qsizetype i = 0; i < blocks.size(); ++i)
        if (blocks[i].value)
            after_last_value = i + 1;
    blocks.insert(after_last_value, block);
    return true;
}

std::optional<RegistryDocument::Place> RegistryDocument::find_value(const QString& key,
                                                                    const QString& name) const {
    std::optional<Place> found;
    for (qsizetype s = 0; s < sections_.size(); ++s) {
        const Section& section = sections_[s];
        if (!section.key || !same_name(*section.key, key))
            continue;
        for (qsizetype b = 0; b < section.blocks.size(); ++b)
            if (section.blocks[b].value && same_name(section.blocks[b].value->name, name))
                found = Place{s, b};
    }
    return found;
}

std::optional<qsizetype> RegistryDocument::last_section_of(const QString& key) const {
    for (qsizetype s = sections_.size() - 1; s >= 0; --s)
        if (sections_[s].key && same_name(*sections_[s].key, key))
            return s;
    return std::nullopt;
}

void RegistryDocument::append_section(const QString& key) {
    const Section& last = sections_.back();
    if (last.blocks.isEmpty() || !is_blank(last.blocks.back().lines))
        append_line_block(QString());
    sections_.append(Section{QLatin1Char('[') + key + QLatin1Char(']'), key, {}});
    append_line_block(QString());
}

void RegistryDocument::append_line_block(const QString& line) {
    sections_.back().blocks.append(Block{{line}, std::nullopt});
}

} // namespace kelvox
