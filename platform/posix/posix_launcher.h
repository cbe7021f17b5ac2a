#pragma once
#include "platform/launcher.h"

#include <QString>
#include <QStringList>

namespace kelvox {

// The process to create for a program: the program itself, or wine running it.
struct LaunchCommand {
    QString program;
    QStringList arguments;
    QString working_directory;

    bool operator==(const LaunchCommand&) const = default;
};

// program: the absolute path of the file; wine: wine's path, empty when wine is absent. Windows
// programs go through wine on systems other than Windows; raises a PlatformError when it is absent.
LaunchCommand launch_command(const QString& program, const QString& working_directory, ProgramKind kind,
                             const QString& wine);

// The launcher where programs are started as processes of this system (Windows programs through wine)
// and documents are handed to xdg-open, or to Qt's desktop services without it.
class PosixLauncher final : public Launcher {
public:
    // Helper programs (wine, xdg-open) are looked for in search_path, or on the PATH when it is empty.
    explicit PosixLauncher(QStringList search_path = {});

    bool start_program(const QString& program, const QString& directory) override;
    bool open_document(const QString& file, const QString& directory) override;

private:
    QString find_helper(const QString& name) const;

    QStringList search_path_;
};

} // namespace kelvox
