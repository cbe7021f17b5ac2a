#pragma once
// A registry file in memory: the "REGEDIT4" line, then sections
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Kelvox cover menu]
// each followed by its value lines (platform/registry_value_syntax.h). Key and value names compare
// without regard to case and keep the case they were first written in.
//
// A damaged file is read as far as it makes sense: lines that are neither a section header nor a value
// (comments, blank lines, garbage) belong to no value, a header that cannot be read and a deletion
// section ("[-KEY]") open a section that belongs to no key, and all of them are written back as they
// were, so saving a value never loses what a person wrote into the file.
#include "platform/registry/registry_value_syntax.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelvox {

class RegistryDocument {
public:
    // A new document: the format line, a blank line, no keys.
    RegistryDocument();

    // Nothing when the text is not a registry file: its first line is not "REGEDIT4". A text of blank
    // lines only (an empty file) is a new document.
    static std::optional<RegistryDocument> parse(const QString& text);

    // The file's text; lines end as they did in the parsed text (CR LF or LF; LF for a new document).
    QString text() const;

    // Keys are full names ("HKEY_CURRENT_USER\Software\X"). A key exists when a section names it or a
    // key below it, as importing the file would create the keys above every section.
    bool has_key(const QString& key) const;
    // Adds an empty section for the key unless it exists.
    void add_key(const QString& key);

    // The value as the key's last line for that name gives it; a key may be split into several
    // sections of the same name, and the last one wins, as on import.
    std::optional<RegistryFileValue> value(const QString& key, const QString& name) const;
    // Replaces the line the value is read from, or adds one (and the key) when there is none. False,
    // and nothing changed, when the value cannot be stored in the file.
    bool set_value(const QString& key, const QString& name, const RegistryFileValue& value);

private:
    struct Block {
        QStringList lines; // physical lines: one, or a byte list continued over several
        std::optional<RegistryValueLine> value;
    };
    struct Section {
        std::optional<QString> header; // none for the lines before the first section
        std::optional<QString> key;    // none when the section belongs to no key
        QList<Block> blocks;
    };
    struct Place {
        qsizetype section;
        qsizetype block;
    };

    std::optional<Place> find_value(const QString& key, const QString& name) const;
    std::optional<qsizetype> last_section_of(const QString& key) const;
    // A section for the key at the end, set off by a blank line.
    void append_section(const QString& key);
    void append_line_block(const QString& line);

    QList<Section> sections_;
    QString line_end_ = QStringLiteral("\n");
};

} // namespace kelvox
