#include "platform/posix/posix_registry.h"
#include "platform/registry.h"

#include "platform/registry/registry_file.h"

#include <QDir>

namespace kelvox {

// Read once: the file's place is fixed for the program's run.
std::unique_ptr<Registry> system_registry() {
    return std::make_unique<FileRegistry>(registry_file_path());
}

QString registry_file_path() {
    const QString explicit_path = qEnvironmentVariable("KELVOX_REGISTRY");
    if (!explicit_path.isEmpty())
        return explicit_path;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/kelvox-cover-menu/registry.reg");
}

} // namespace kelvox
