#pragma once
// index.xml texts for window tests: sections with a chosen number of entries each.
#include <QByteArray>
#include <QString>

#include <vector>

namespace kelvox::test {

struct TestSection {
    QString name;
    int entries;
};

inline QByteArray catalogue_xml(const std::vector<TestSection>& sections) {
    QString xml = QStringLiteral("<menu>\r\n");
    int serial = 0;
    for (const TestSection& section : sections) {
        xml += QStringLiteral("<nazwa>%1</nazwa>\r\n").arg(section.name);
        for (int i = 0; i < section.entries; ++i, ++serial)
            xml += QStringLiteral("<nazwa_e>Pozycja %1</nazwa_e><sciezka_exe>e%1\\plik%1.txt</sciezka_exe>"
                                  "<sciezka>e%1</sciezka>\r\n")
                       .arg(serial);
    }
    xml += QStringLiteral("</menu>\r\n");
    return xml.toUtf8();
}

} // namespace kelvox::test
