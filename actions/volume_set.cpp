#include "actions/volume_set.h"

#include "platform/files.h"

#include <QRegularExpression>

namespace kelvox {

namespace {

// The name of volume `index` after the first (0 is the second volume), or an empty text when the set
// cannot have one.
QString following_volume(const QString& first, int index) {
    static const QRegularExpression numbered(QStringLiteral("^(.*\\.part)(\\d+)(\\.rar)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = numbered.match(first);
    if (match.hasMatch()) {
        const QString digits = match.captured(2);
        return match.captured(1) +
               QStringLiteral("%1").arg(digits.toInt() + 1 + index, digits.size(), 10, QLatin1Char('0')) +
               match.captured(3);
    }
    if (!first.endsWith(QStringLiteral(".rar"), Qt::CaseInsensitive) || index >= 9 * 100)
        return {};
    // .r00 to .r99, then .s00 and on to .z99.
    const QChar letter(u'r' + index / 100);
    return first.left(first.size() - 3) + letter +
           QStringLiteral("%1").arg(index % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

qint64 volume_set_size(const QString& first_volume) {
    qint64 total = file_size(first_volume);
    if (total < 0)
        return -1;
    for (int index = 0;; ++index) {
        const QString volume = following_volume(first_volume, index);
        if (volume.isEmpty() || !file_exists(volume))
            return total;
        total += file_size(volume);
    }
}

} // namespace kelvox
