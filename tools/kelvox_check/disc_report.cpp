#include "tools/kelvox_check/disc_report.h"

#include "catalogue/entry_action.h"
#include "platform/disc_file.h"

#include <QJsonArray>

namespace kelvox::check {

namespace {

QJsonArray strings(const QStringList& list) {
    return QJsonArray::fromStringList(list);
}

QJsonObject description_json(const EntryDescription& description) {
    return QJsonObject{
        {"title", description.entry_title},
        {"description_lines", strings(description.description_lines)},
        {"requirement_lines", strings(description.requirement_lines)},
        {"picture_names", strings(description.picture_names)},
        {"type", description.entry_type},
        {"picture_loaded", description.picture_loaded},
    };
}

QJsonObject entry_json(const CheckedEntry& checked) {
    return QJsonObject{
        {"name", checked.entry.name},
        {"path", checked.entry.path},
        {"exe_path", checked.entry.exe_path},
        {"action", entry_action_name(entry_action(checked.entry.exe_path))},
        {"description", description_json(checked.description)},
        {"archive_files", strings(checked.archive_files)},
    };
}

QJsonObject section_json(const CheckedSection& section) {
    QJsonArray entries;
    for (const CheckedEntry& entry : section.entries)
        entries.append(entry_json(entry));
    return QJsonObject{
        {"name", section.name},
        {"ticker", section.ticker ? QJsonValue(*section.ticker) : QJsonValue(QJsonValue::Null)},
        {"entries", entries},
    };
}

QJsonArray problems_json(const std::vector<DiscProblem>& problems) {
    QJsonArray list;
    for (const DiscProblem& problem : problems)
        list.append(QJsonObject{{"file", problem.file}, {"message", problem.message}});
    return list;
}

} // namespace

QString reason_of(const PlatformError& error) {
    if (const auto* refused = dynamic_cast<const DiscFileError*>(&error))
        return QStringLiteral("%1: %2").arg(error.message(), refused->reason());
    return error.message();
}

QJsonObject report_json(const DiscReport& report) {
    QJsonArray sections;
    for (const CheckedSection& section : report.sections)
        sections.append(section_json(section));
    return QJsonObject{{"sections", sections},
                       {"problems", problems_json(report.problems)},
                       {"warnings", problems_json(report.warnings)}};
}

QString report_text(const DiscReport& report) {
    QString text;
    for (std::size_t i = 0; i < report.sections.size(); ++i) {
        const CheckedSection& section = report.sections[i];
        text += QStringLiteral("Section %1: \"%2\"\n").arg(i + 1).arg(section.name);
        text += section.ticker ? QStringLiteral("  ticker: \"%1\"\n").arg(*section.ticker)
                               : QStringLiteral("  ticker: (none)\n");
        for (const CheckedEntry& checked : section.entries) {
            const CatalogueEntry& entry = checked.entry;
            text += QStringLiteral("  - \"%1\"  dir %2  file %3  (%4)\n")
                        .arg(entry.name, entry.path, entry.exe_path,
                             entry_action_name(entry_action(entry.exe_path)));
            const EntryDescription& d = checked.description;
            text +=
                QStringLiteral("      title \"%1\", type \"%2\", %3 description lines, %4 requirement lines, "
                               "%5 pictures%6\n")
                    .arg(d.entry_title, d.entry_type)
                    .arg(d.description_lines.size())
                    .arg(d.requirement_lines.size())
                    .arg(d.picture_names.size())
                    .arg(d.picture_loaded ? QStringLiteral(", first one loads") : QString());
            if (!checked.archive_files.isEmpty())
                text += QStringLiteral("      archive of %1 file(s)\n").arg(checked.archive_files.size());
        }
    }
    if (report.sections.empty())
        text += QStringLiteral("No sections.\n");
    if (!report.warnings.empty()) {
        text += QStringLiteral("%1 warning(s):\n").arg(report.warnings.size());
        for (const DiscProblem& warning : report.warnings)
            text += QStringLiteral("  %1: %2\n").arg(warning.file, warning.message);
    }
    if (report.problems.empty()) {
        text += QStringLiteral("No problems.\n");
        return text;
    }
    text += QStringLiteral("%1 problem(s):\n").arg(report.problems.size());
    for (const DiscProblem& problem : report.problems)
        text += QStringLiteral("  %1: %2\n").arg(problem.file, problem.message);
    return text;
}

} // namespace kelvox::check
