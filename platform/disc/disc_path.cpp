#include "platform/disc_path.h"

namespace kelvox {

QString disc_to_slashes(const QString& disc_path) {
    QString path = disc_path;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

} // namespace kelvox
