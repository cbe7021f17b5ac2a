#pragma once
// What the disc checker found: the catalogue as the menu would hold it, each entry's description as
// choosing it right after the start would read it, and every problem on the way.
#include "catalogue/catalogue.h"
#include "catalogue/entry_description.h"
#include "platform/platform_error.h"

#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace kelvox::check {

struct DiscProblem {
    QString file; // a disc path relative to the disc's root, as the menu names it
    QString message;
    // The entry whose check found it (its section's and its own place in the catalogue); -1 for what
    // belongs to the disc as a whole.
    int section = -1;
    int entry = -1;
};

struct CheckedEntry {
    CatalogueEntry entry;
    EntryDescription description;
    QStringList archive_files; // an archive's files as the RAR module lists them
};

struct CheckedSection {
    QString name;
    std::optional<QString> ticker; // its line of reklamy.txt, none when the file has too few lines
    std::vector<CheckedEntry> entries;
};

struct DiscReport {
    std::vector<CheckedSection> sections;
    std::vector<DiscProblem> problems;
    // What works on some reader's machines and not on others; the disc still passes.
    std::vector<DiscProblem> warnings;

    // The entry being checked, whose problems and warnings they are.
    int section_checked = -1;
    int entry_checked = -1;

    void problem(const QString& file, const QString& message) {
        problems.push_back({file, message, section_checked, entry_checked});
    }
    void warning(const QString& file, const QString& message) {
        warnings.push_back({file, message, section_checked, entry_checked});
    }
};

// The platform's text of an error, and for a disc file it refused, why.
QString reason_of(const PlatformError& error);

// {"sections":[...],"problems":[...],"warnings":[...]}; texts exactly as the menu holds them.
QJsonObject report_json(const DiscReport& report);

// A listing for people: sections, entries with their action, then the problems.
QString report_text(const DiscReport& report);

} // namespace kelvox::check
