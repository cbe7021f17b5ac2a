#include "tools/make_demo_disc/catalogue_files.h"

#include "platform/text_codec.h"

#include <stdexcept>

namespace kelvox::demo {

namespace {

const QString line_end = QStringLiteral("\r\n");

// The menu stores texts as they stand, without decoding entities, so a text must not hold markup
// characters or line breaks of its own.
const QString& plain(const QString& text) {
    for (QChar c : text) {
        if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('&') ||
            c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            throw std::invalid_argument("text not fit for the disc's files: " + text.toStdString());
    }
    return text;
}

QString element(const char* tag, const QString& text) {
    plain(text);
    const QString name = QLatin1String(tag);
    return QLatin1Char('<') + name + QLatin1Char('>') + text + QStringLiteral("</") + name + QLatin1Char('>');
}

QByteArray encoded(const QString& text) {
    const QByteArray bytes = encode_windows_1250(text);
    if (decode_windows_1250(bytes) != text)
        throw std::invalid_argument("text not representable in Windows-1250: " + text.toStdString());
    return bytes;
}

const QString declaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>");

} // namespace

QByteArray catalogue_xml(const std::vector<DemoSection>& sections) {
    QString xml = declaration + line_end + QStringLiteral("<menu>") + line_end;
    for (const DemoSection& section : sections) {
        xml += QStringLiteral("  <sekcja>") + line_end;
        xml += QStringLiteral("    ") + element("nazwa", section.name) + line_end;
        for (const DemoEntry& entry : section.entries) {
            xml += QStringLiteral("    <pozycja>") + element("nazwa_e", entry.name) +
                   element("sciezka_exe", entry_file_path(entry)) + element("sciezka", entry.directory) +
                   QStringLiteral("</pozycja>") + line_end;
        }
        xml += QStringLiteral("  </sekcja>") + line_end;
    }
    xml += QStringLiteral("</menu>") + line_end;
    return encoded(xml);
}

QByteArray description_xml(const DemoEntry& entry) {
    QString xml = declaration + line_end + QStringLiteral("<opis>") + line_end;
    xml += QStringLiteral("  ") + element("_nazwa", entry.title) + line_end;
    xml += QStringLiteral("  ") + element("_opis", entry.description) + line_end;
    if (!entry.requirements.isEmpty())
        xml += QStringLiteral("  ") + element("_wymagania", entry.requirements) + line_end;
    for (int i = 0; i < entry.picture_count; ++i)
        xml += QStringLiteral("  ") + element("_obrazek", entry_picture_path(entry, i)) + line_end;
    xml += QStringLiteral("  ") + element("_typ", entry.type) + line_end;
    xml += QStringLiteral("</opis>") + line_end;
    return encoded(xml);
}

QByteArray ticker_text(const std::vector<DemoSection>& sections) {
    QString text;
    for (const DemoSection& section : sections)
        text += plain(section.ticker_line) + line_end;
    return encoded(text);
}

} // namespace kelvox::demo
