#include "platform/bitmap.h"

#include "platform/disc_path.h"
#include "platform/platform_error.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace kelvox {

void Bitmap::LoadFromFile(const QString& name) {
    const QString path = native_path(name);
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw cannot_open_file(name);
    const QByteArray data = file.readAll();
    QImage image;
    // Decoded as BMP whatever the name says: another format under a .bmp name is not a bitmap.
    if (!data.startsWith("BM") || !image.loadFromData(data, "BMP") || image.isNull())
        throw PlatformError(QStringLiteral("Bitmap image is not valid"));
    Assign(image);
}

} // namespace kelvox
