#pragma once
// The registry where there is no Win32 registry (everywhere but Windows): one text file in the REGEDIT4
// format the Windows registry editor exports and imports, so a file can be carried between the two.
//
// Every read and write goes to the file itself, so several programs sharing the file see each other's
// writes; each write replaces the file atomically (a temporary file in the same directory, renamed over
// the old one), so a failed or interrupted write leaves the old file whole.
//
// A file that does not exist is an empty registry; writing creates it, and its directory. A file that
// cannot be read, is larger than any registry file could sensibly be, or does not start with the format
// line is not taken for a registry: no key can be opened in it and it is never overwritten. Inside a
// readable file, damaged lines are handled as platform/registry_document.h says.
#include "platform/registry.h"

namespace kelvox {

class FileRegistry final : public Registry {
public:
    explicit FileRegistry(QString file_path);
    std::unique_ptr<RegistryKey> open_key(RegistryRoot root, const QString& path, bool create) override;
    const QString& file_path() const { return file_path_; }

    struct ParsedFile;

private:
    QString file_path_;
    // Shared with the keys opened; a registry and its keys are used from one thread.
    std::shared_ptr<ParsedFile> last_;
};

} // namespace kelvox
