#include "platform/qt/qt_media_backend.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>

namespace kelvox {

bool media_backend_available(const QString& backend) {
    for (const QString& path : QCoreApplication::libraryPaths()) {
        const QDir plugins(path + QStringLiteral("/multimedia"));
        for (const QString& name : plugins.entryList(QDir::Files)) {
            QPluginLoader plugin(plugins.filePath(name));
            const QJsonArray keys = plugin.metaData()
                                        .value(QStringLiteral("MetaData"))
                                        .toObject()
                                        .value(QStringLiteral("Keys"))
                                        .toArray();
            if (keys.isEmpty() || (!backend.isEmpty() && !keys.contains(backend)))
                continue;
            // Loading proves its libraries are there; it stays loaded for Qt, which opens the same file.
            if (plugin.load())
                return true;
        }
    }
    return false;
}

} // namespace kelvox
