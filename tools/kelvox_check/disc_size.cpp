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

DiscSize disc_size(const QString& root, const QString& linux_bundle, const QString& windows_bundle) {
    DiscSize size;
    const QDir content(root);
    size.content = file_bytes(content.path(), content.filePath(kReportFolder));
    size.linux_bundle = linux_bundle;
    if (QFileInfo(linux_bundle + QStringLiteral("/kelvox-menu")).isFile())
        size.linux_menu = file_bytes(linux_bundle) + KELVOX_AUTORUN_BYTES;
    size.windows_bundle = windows_bundle;
    if (QFileInfo(windows_bundle + QStringLiteral("/kelvox-menu.exe")).isFile()) {
        const QString checker = windows_bundle + QStringLiteral("/kelvox-check.exe");
        size.windows_menu = file_bytes(windows_bundle, checker) + KELVOX_AUTORUN_INF_BYTES;
    }
    return size;
}

namespace {

// make-disc.sh's default build folder, beside this checker's build.
QString bundle_beside(const QString& build) {
    const QDir programs(QCoreApplication::applicationDirPath());
    return QDir::cleanPath(programs.absoluteFilePath(QStringLiteral("../../%1/bundle").arg(build)));
}

QString bundle_named_by(const char* variable) {
    const QString build = qEnvironmentVariable(variable);
    return build.isEmpty() ? QString() : QDir(build).absoluteFilePath(QStringLiteral("bundle"));
}

} // namespace

QString linux_bundle_folder() {
    if (const QString named = bundle_named_by("KELVOX_DISC_BUILD"); !named.isEmpty())
        return named;
    const QDir programs(QCoreApplication::applicationDirPath());
    const QString own = QDir::cleanPath(programs.absoluteFilePath(QStringLiteral("../bundle")));
    if (QFileInfo(own).isDir())
        return own;
    return bundle_beside(QStringLiteral("build-disc"));
}

QString windows_bundle_folder() {
    if (const QString named = bundle_named_by("KELVOX_WINDOWS_BUILD"); !named.isEmpty())
        return named;
    return bundle_beside(QStringLiteral("build-windows"));
}

} // namespace kelvox::check
