#include "platform/posix/posix_launcher.h"

#include "platform/disc_path.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace kelvox {

namespace {

struct Resolved {
    QString file;      // absolute, in the platform's own form
    QString directory; // absolute, in the platform's own form
};

Resolved resolve(const QString& file, const QString& directory) {
    const QString dir =
        directory.isEmpty() ? QDir::currentPath() : QFileInfo(native_path(directory)).absoluteFilePath();
    const QString path = QDir::isAbsolutePath(disc_to_slashes(file))
                             ? native_path(file)
                             : native_path(dir + QLatin1Char('\\') + file);
    return {QFileInfo(path).absoluteFilePath(), dir};
}

QByteArray first_bytes(const QString& path) {
    // Only a regular file is opened: opening a FIFO would wait for a writer with the menu frozen.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.read(2);
}

PlatformError no_wine(const QString& program) {
    return PlatformError(
        QStringLiteral("Nie mogę uruchomić %1: to program dla systemu Windows, a wine, które uruchamia tu "
                       "takie programy, nie jest zainstalowane")
            .arg(QDir::toNativeSeparators(program)));
}

} // namespace

LaunchCommand launch_command(const QString& program, const QString& working_directory, ProgramKind kind,
                             const QString& wine) {
    if (kind == ProgramKind::native)
        return {program, {}, working_directory};
    if (wine.isEmpty())
        throw no_wine(program);
    if (kind == ProgramKind::windows)
        return {wine, {program}, working_directory};
    // cmd takes a Windows path; relative to the working directory it needs no drive mapping.
    const QString batch =
        QDir(working_directory).relativeFilePath(program).replace(QLatin1Char('/'), QLatin1Char('\\'));
    return {wine, {QStringLiteral("cmd"), QStringLiteral("/c"), batch}, working_directory};
}

PosixLauncher::PosixLauncher(QStringList search_path) : search_path_(std::move(search_path)) {}

QString PosixLauncher::find_helper(const QString& name) const {
    return search_path_.isEmpty() ? QStandardPaths::findExecutable(name)
                                  : QStandardPaths::findExecutable(name, search_path_);
}

bool PosixLauncher::start_program(const QString& program, const QString& directory) {
    const Resolved target = resolve(program, directory);
    if (!QFileInfo(target.file).isFile())
        return false;
    const ProgramKind kind = program_kind(target.file, first_bytes(target.file));
    const QString wine = kind == ProgramKind::native ? QString() : find_helper(QStringLiteral("wine"));
    const LaunchCommand command = launch_command(target.file, target.directory, kind, wine);
    return QProcess::startDetached(command.program, command.arguments, command.working_directory);
}

bool PosixLauncher::open_document(const QString& file, const QString& directory) {
    const Resolved target = resolve(file, directory);
    if (!QFileInfo::exists(target.file))
        return false;
    const QString opener = find_helper(QStringLiteral("xdg-open"));
    if (!opener.isEmpty())
        return QProcess::startDetached(opener, {target.file}, target.directory);
    // Desktops without xdg-open: Qt's own services, which need the GUI application.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(target.file));
}

std::unique_ptr<Launcher> system_launcher() {
    return std::make_unique<PosixLauncher>();
}

} // namespace kelvox
