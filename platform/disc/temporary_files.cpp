#include "platform/disc/temporary_files.h"

#include <QDir>
#include <QRandomGenerator>

#include <algorithm>

namespace kelvox {

namespace {

QString prefix_of(const QFileInfo& target) {
    return QLatin1Char('.') + target.fileName() + QLatin1Char('.');
}

bool is_random_middle(const QString& middle) {
    return !middle.isEmpty() && middle.size() <= 7 && std::all_of(middle.begin(), middle.end(), [](QChar c) {
        return c.isDigit() || (c >= u'a' && c <= u'z');
    });
}

} // namespace

QString temporary_file_name(const QFileInfo& target) {
    return target.absolutePath() + QLatin1Char('/') + prefix_of(target) +
           QString::number(QRandomGenerator::global()->generate(), 36) + QStringLiteral(".tmp");
}

QStringList temporary_files_of(const QFileInfo& target) {
    const QString prefix = prefix_of(target);
    const QDir folder(target.absolutePath());
    QStringList files;
    for (const QString& name :
         folder.entryList({prefix + QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden)) {
        if (is_random_middle(name.mid(prefix.size(), name.size() - prefix.size() - 4)))
            files << folder.filePath(name);
    }
    return files;
}

} // namespace kelvox
