#pragma once
// Entries with descriptions and pictures on a test disc.
#include "platform/text_codec.h"
#include "tests/support/disc_fixture.h"
#include "tests/support/jpeg_writer.h"

#include <QColor>
#include <QImage>
#include <QString>

namespace kelvox::test {

// A JPEG of the given size in one colour.
inline QByteArray flat_jpeg(int width, int height, QColor colour) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour);
    return rgb_jpeg(picture);
}

// info.xml of an entry, in the disc's code page.
inline QByteArray info_xml(const QString& title, const QString& description, const QString& requirements,
                           const QStringList& pictures, const QString& type) {
    QString xml = QStringLiteral("<info>\r\n<_nazwa>%1</_nazwa>\r\n").arg(title);
    if (!description.isEmpty())
        xml += QStringLiteral("<_opis>%1</_opis>\r\n").arg(description);
    if (!requirements.isEmpty())
        xml += QStringLiteral("<_wymagania>%1</_wymagania>\r\n").arg(requirements);
    for (const QString& picture : pictures)
        xml += QStringLiteral("<_obrazek>%1</_obrazek>\r\n").arg(picture);
    xml += QStringLiteral("<_typ>%1</_typ>\r\n</info>\r\n").arg(type);
    return encode_windows_1250(xml);
}

} // namespace kelvox::test
