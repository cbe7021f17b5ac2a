#pragma once
// Processes and the shell: starting an entry's program in its directory without waiting for it, and
// handing a document to the desktop's "open". Names are disc paths (see platform/disc_path.h).
#include "platform/platform_error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace kelvox {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts the program, resolved against the directory, with the directory as its working
    // directory, and returns at once. False when it could not be started (missing, not executable).
    // Raises a PlatformError when it is a Windows program and this system has nothing to run it with.
    virtual bool start_program(const QString& program, const QString& directory) = 0;
    // Asks the desktop to open the file, resolved against the directory, as a double click would.
    // False when no request could be made; what the desktop does with it is not known here.
    virtual bool open_document(const QString& file, const QString& directory) = 0;
};

// What a program file is, from its name and its first bytes.
enum class ProgramKind {
    native,  // an executable or script of this system
    windows, // a Windows executable ("MZ" header)
    batch,   // a Windows batch file (".bat")
};
ProgramKind program_kind(const QString& file_name, const QByteArray& first_bytes);

// The launcher of this system.
std::unique_ptr<Launcher> system_launcher();

} // namespace kelvox
