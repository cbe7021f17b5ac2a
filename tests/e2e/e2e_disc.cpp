// kelvox-e2e-disc DISC-ROOT EXPECTED-DIR [linux|windows]: writes the disc the end-to-end suite drives the
// real menu of that system on, and the small archive's files as they should come out of it into
// EXPECTED-DIR. Every skin picture is
// a flat colour of its own (the window tests' skin), so a screenshot pixel at a layout coordinate tells
// which picture lies there; the entries cover every kind of activation.
#include "tests/support/jpeg_writer.h"
#include "tests/support/test_skin.h"
#include "tools/rar_writer/stored_rar_writer.h"

#include <QImage>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

using kelvox::StoredRarEntry;
using kelvox::test::DiscFixture;

// Bytes that differ from file to file, so that a swapped or shifted file does not compare equal.
std::vector<unsigned char> file_bytes(int size, int seed) {
    std::vector<unsigned char> data(static_cast<std::size_t>(size));
    unsigned state = 2166136261u ^ static_cast<unsigned>(seed);
    for (unsigned char& byte : data) {
        state = state * 16777619u + 12345u;
        byte = static_cast<unsigned char>(state >> 24);
    }
    return data;
}

QByteArray entry(const char* name, const char* directory, const char* file) {
    return QByteArray("<pozycja><nazwa_e>") + name + "</nazwa_e><sciezka_exe>" + directory + "\\" + file +
           "</sciezka_exe><sciezka>" + directory + "</sciezka></pozycja>";
}

QByteArray description(const char* title, const QByteArray& pictures, const char* type) {
    return QByteArray("<opis><_nazwa>") + title + "</_nazwa><_opis>Opis pozycji " + title +
           "</_opis><_wymagania>Pentium 100</_wymagania>" + pictures + "<_typ>" + type + "</_typ></opis>";
}

// The program entry records the directory it was started in, where the suite tells it to: a shell
// script for the Linux menu; for the Windows one a batch file, which goes through the command
// interpreter as a reader's would.
struct Program {
    const char* file;
    QByteArray content;
};

Program program_for(const std::string& system) {
    if (system == "windows")
        return {"uruchom.bat", "@cd > \"%KELVOX_E2E_RECORDS%\\program-directory\"\r\n"};
    return {"start.exe", "#!/bin/sh\npwd > \"$KELVOX_E2E_RECORDS/program-directory\"\n"};
}

QByteArray catalogue(const Program& program) {
    QByteArray xml = "<menu><sekcja><nazwa>Gry</nazwa>";
    xml += entry("Obrazki", "obrazki", program.file);
    xml += entry("Dokument", "dokument", "czytaj.txt");
    xml += entry("Paczka", "paczka", "paczka.rar");
    xml += entry("Wielka paczka", "wielka", "wielka.rar");
    xml += entry("Zepsuta paczka", "zepsuta", "zepsuta.rar");
    xml += "</sekcja><sekcja><nazwa>Programy</nazwa>";
    for (int i = 1; i <= 25; ++i) {
        const QByteArray name = "Program " + QByteArray::number(i).rightJustified(2, '0');
        xml += entry(name.constData(), "programy", "program.txt");
    }
    xml += "</sekcja><sekcja><nazwa>Inne</nazwa>";
    xml += entry("Dokument", "dokument", "czytaj.txt");
    xml += "</sekcja></menu>\r\n";
    return xml;
}

// The three pictures are flat red, green and blue of different sizes: the viewer's size and colour
// tell which one it shows.
void write_pictures(const DiscFixture& disc) {
    const struct {
        const char* name;
        int width;
        int height;
        Qt::GlobalColor colour;
    } pictures[] = {{"obrazki/1.jpg", 320, 240, Qt::red},
                    {"obrazki/2.jpg", 300, 200, Qt::green},
                    {"obrazki/3.jpg", 280, 160, Qt::blue}};
    for (const auto& picture : pictures) {
        QImage image(picture.width, picture.height, QImage::Format_RGB32);
        image.fill(picture.colour);
        disc.write(QString::fromLatin1(picture.name), kelvox::test::rgb_jpeg(image));
    }
}

void write_archives(const DiscFixture& disc, const DiscFixture& expected) {
    std::vector<StoredRarEntry> small;
    const char* names[] = {"czytaj.txt", "dane/plik1.bin", "dane/plik2.bin", "dane/gleboko/plik3.bin"};
    for (int i = 0; i < 4; ++i) {
        small.push_back({names[i], file_bytes(1000 * i + 37, i)});
        expected.write(QString::fromLatin1(names[i]),
                       QByteArray(reinterpret_cast<const char*>(small.back().data.data()),
                                  static_cast<qsizetype>(small.back().data.size())));
        std::replace(small.back().name.begin(), small.back().name.end(), '/', '\\');
    }
    kelvox::write_stored_rar(disc.absolute(QStringLiteral("paczka/paczka.rar")).toStdString(), small);

    // Enough files that a run lasts several seconds, so that the strip's cancel area can stop it.
    std::vector<StoredRarEntry> many;
    for (int i = 0; i < 4000; ++i)
        many.push_back({"wielka\\plik" + std::to_string(i) + ".bin", file_bytes(2048, 100 + i)});
    kelvox::write_stored_rar(disc.absolute(QStringLiteral("wielka/wielka.rar")).toStdString(), many);

    // The second file's data is damaged after writing: its checksum no longer matches.
    std::vector<StoredRarEntry> broken = {{"dobry.bin", file_bytes(3000, 7)},
                                          {"zepsuty.bin", file_bytes(3000, 8)},
                                          {"nastepny.bin", file_bytes(3000, 9)}};
    const QString broken_path = disc.absolute(QStringLiteral("zepsuta/zepsuta.rar"));
    kelvox::write_stored_rar(broken_path.toStdString(), broken);
    QFile file(broken_path);
    if (!file.open(QIODevice::ReadWrite))
        throw std::runtime_error("cannot reopen the damaged archive");
    QByteArray bytes = file.readAll();
    const auto& data = broken[1].data;
    const qsizetype at = bytes.indexOf(QByteArray(reinterpret_cast<const char*>(data.data()), 64));
    if (at < 0)
        throw std::runtime_error("the second file's data is not stored as it stands");
    bytes[at + 100] = static_cast<char>(bytes[at + 100] ^ 0x5A);
    file.seek(0);
    file.write(bytes);
}

void write_disc(const DiscFixture& disc, const DiscFixture& expected, const Program& program) {
    kelvox::test::TestSkinOptions skin;
    skin.index_xml = catalogue(program);
    skin.reklamy = "Linia gier\r\nLinia programow\r\nLinia innych\r\n";
    kelvox::test::write_test_skin(disc, skin);

    write_pictures(disc);
    disc.write(QStringLiteral("obrazki/info.xml"),
               description("Obrazki",
                           "<_obrazek>obrazki\\1.jpg</_obrazek><_obrazek>obrazki\\2.jpg</_obrazek>"
                           "<_obrazek>obrazki\\3.jpg</_obrazek>",
                           "URUCHOM"));
    const QString program_path = QStringLiteral("obrazki/") + QLatin1String(program.file);
    disc.write(program_path, program.content);
    QFile::setPermissions(disc.absolute(program_path),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    disc.write(QStringLiteral("dokument/info.xml"), description("Dokument", "", "OTWORZ"));
    disc.write(QStringLiteral("dokument/czytaj.txt"), "Tekst dokumentu.\r\n");
    for (const char* dir : {"paczka", "wielka", "zepsuta"})
        disc.write(QLatin1String(dir) + QStringLiteral("/info.xml"), description(dir, "", "ROZPAKUJ"));
    disc.write(QStringLiteral("programy/info.xml"), description("Program", "", "OTWORZ"));
    disc.write(QStringLiteral("programy/program.txt"), "Program.\r\n");
    write_archives(disc, expected);
}

} // namespace

int main(int argc, char** argv) {
    const std::string system = argc == 4 ? argv[3] : "linux";
    if (argc < 3 || argc > 4 || (system != "linux" && system != "windows")) {
        std::fprintf(stderr, "usage: kelvox-e2e-disc DISC-ROOT EXPECTED-DIR [linux|windows]\n");
        return 2;
    }
    try {
        DiscFixture disc(QString::fromLocal8Bit(argv[1]));
        DiscFixture expected(QString::fromLocal8Bit(argv[2]));
        write_disc(disc, expected, program_for(system));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvox-e2e-disc: %s\n", error.what());
        return 1;
    }
    return 0;
}
