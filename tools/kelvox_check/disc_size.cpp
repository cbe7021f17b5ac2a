#include "tools/kelvox_check/disc_size.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace kelvox::check {

namespace {

// What find -type f sees under the folder: regular files, without going through links.
qint64 file_bytes(const QString& folder, const QString& left_out = {}) {
    qint64 bytes = 0;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        if (!left_out.isEmpty() &&
            (file.filePath() == left_out || file.filePath().startsWith(left_out + QLatin1Char('/'))))
            continue;
        if (file.isFile() && !file.isSymLink())
            bytes += file.size();
    }
    return bytes;
}

} // namespace

DiscSize disc_size(const QString& root, const QString& bundle) {
    DiscSize size;
    const QDir content(root);
    size.content = file_bytes(content.path(), content.filePath(kReportFolder));
    size.linux_bundle = bundle;
    if (QFileInfo(bundle + QStringLiteral("/kelvox-menu")).isFile())
        size.linux_menu = file_bytes(bundle) + KELVOX_AUTORUN_BYTES;
    return size;
}

QString linux_bundle_folder() {
    const QString build = qEnvironmentVariable("KELVOX_DISC_BUILD");
    if (!build.isEmpty())
        return QDir(build).absoluteFilePath(QStringLiteral("bundle"));
    const QDir programs(QCoreApplication::applicationDirPath());
    const QString own = QDir::cleanPath(programs.absoluteFilePath(QStringLiteral("../bundle")));
    if (QFileInfo(own).isDir())
        return own;
    return QDir::cleanPath(programs.absoluteFilePath(QStringLiteral("../../build-disc/bundle")));
}

} // namespace kelvox::check
