#include "platform/disc_path.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace kelvox {

namespace {

// An entry of `directory` whose name equals `component` ignoring case, or an empty string. The
// directory's listing is sorted by name, so the choice among several such entries is stable.
QString find_ignoring_case(const QString& directory, const QString& component) {
    const QDir dir(directory.isEmpty() ? QStringLiteral(".") : directory);
    const QStringList names =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        if (name.compare(component, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

QString joined(const QString& head, const QString& component) {
    if (head.isEmpty())
        return component;
    if (head.endsWith(QLatin1Char('/')))
        return head + component;
    return head + QLatin1Char('/') + component;
}

} // namespace

// A case-sensitive file system: components are matched ignoring case where the exact name is missing.
QString native_path(const QString& disc_path) {
    const QString path = disc_to_slashes(disc_path);
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;

    const bool absolute = path.startsWith(QLatin1Char('/'));
    const QStringList components = path.split(QLatin1Char('/'), Qt::KeepEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QString();
    for (qsizetype i = 0; i < components.size(); ++i) {
        const QString& component = components[i];
        if (component.isEmpty())
            continue; // doubled or trailing separators
        const QString exact = joined(resolved, component);
        if (component == QLatin1String(".") || component == QLatin1String("..") || QFileInfo::exists(exact)) {
            resolved = exact;
            continue;
        }
        const QString found = find_ignoring_case(resolved, component);
        if (found.isEmpty()) {
            // Nothing matches: keep the remainder as written.
            resolved = exact;
            for (qsizetype j = i + 1; j < components.size(); ++j) {
                if (!components[j].isEmpty())
                    resolved = joined(resolved, components[j]);
            }
            return path.endsWith(QLatin1Char('/')) ? resolved + QLatin1Char('/') : resolved;
        }
        resolved = joined(resolved, found);
    }
    return resolved;
}

Qt::CaseSensitivity file_name_case() {
    return Qt::CaseSensitive;
}

} // namespace kelvox
