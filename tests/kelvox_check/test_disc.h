#pragma once
// A complete, correct disc for the checker's tests: every skin file at the size the menu relies on, a
// catalogue of two sections, their ticker lines, and entries with descriptions, pictures and files.
// Tests break one thing at a time.
#include "app/skin_files.h"
#include "platform/text_codec.h"

#include "tests/support/disc_fixture.h"
#include "tests/support/jpeg_writer.h"
#include "tools/rar_writer/stored_rar_writer.h"

#include <QBuffer>
#include <QImage>

namespace kelvox::test {

inline QByteArray bitmap(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(0x808080);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bytes;
}

inline QByteArray jpeg(int width = 32, int height = 24) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(0x336699);
    return rgb_jpeg(picture);
}

// An archive of two stored files, as the module unpacks it.
inline void write_archive(const QString& path) {
    write_stored_rar(QFile::encodeName(path).toStdString(),
                     {{"edytor/edytor.exe", {'M', 'Z', 0, 1}}, {"edytor/czytaj.txt", {'o', 'k'}}});
}

inline const char* const kGoodIndex = "<?xml version=\"1.0\"?>\r\n"
                                      "<menu>\r\n"
                                      "  <nazwa>Gry</nazwa>\r\n"
                                      "  <nazwa_e>Demo jeden</nazwa_e><sciezka_exe>gry\\demo1\\setup.exe"
                                      "</sciezka_exe><sciezka>gry\\demo1</sciezka>\r\n"
                                      "  <nazwa>Programy</nazwa>\r\n"
                                      "  <nazwa_e>Edytor</nazwa_e><sciezka_exe>prog\\edytor\\edytor.rar"
                                      "</sciezka_exe><sciezka>prog\\edytor</sciezka>\r\n"
                                      "</menu>\r\n";

class TestDisc : public DiscFixture {
public:
    TestDisc() {
        for (const auto& file : skin_bitmaps)
            write_skin(file.name, bitmap(file.min_width, file.min_height));
        for (const auto& file : skin_image_list_files)
            write_skin(file.name, bitmap(file.cell_width, file.cell_height));
        for (const char* wallpaper : skin_wallpapers)
            write_skin(wallpaper, bitmap(800, 403));
        write_skin(skin_font_file, "font");
        write_skin(skin_music_file, "music");
        write("menu/index.xml", kGoodIndex);
        write("menu/reklamy.txt",
              encode_windows_1250(QString::fromUtf8("Najlepsze gry\r\nPrzydatne programy\r\n")));
        write("gry/demo1/info.xml",
              encode_windows_1250(
                  QString::fromUtf8("<info>\r\n<_nazwa>Demo jeden</_nazwa>\r\n"
                                    "<_opis>Gra akcji z widokiem z perspektywy pierwszej osoby</_opis>\r\n"
                                    "<_wymagania>Procesor 500 MHz, 128 MB RAM</_wymagania>\r\n"
                                    "<_obrazek>gry\\demo1\\shot1.jpg</_obrazek>\r\n"
                                    "<_obrazek>gry\\demo1\\shot2.jpg</_obrazek>\r\n"
                                    "<_typ>wersja demonstracyjna</_typ>\r\n</info>\r\n")));
        write("gry/demo1/shot1.jpg", jpeg());
        write("gry/demo1/shot2.jpg", jpeg(64, 48));
        write("gry/demo1/setup.exe", "MZ");
        write("prog/edytor/info.xml", "<_nazwa>Edytor</_nazwa><_typ>freeware</_typ>");
        write_archive(absolute("prog/edytor/edytor.rar"));
    }

    void write_skin(const char* name, const QByteArray& bytes) const {
        write(QStringLiteral("menu/") + QString::fromLatin1(name), bytes);
    }
};

} // namespace kelvox::test
