#pragma once
// A complete skin directory for window tests, every picture a flat colour of its own so that a test
// can tell from one pixel of the composed frame which picture lies there. Sizes are the ones the
// drawing code relies on.
#include "tests/support/disc_fixture.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdint>

namespace kelvox::test {

// 0x00BBGGRR, as the menu writes colours.
struct SkinColours {
    static constexpr uint32_t wallpaper = 0x203040;
    static constexpr uint32_t wallpaper2 = 0x405060;
    static constexpr uint32_t pasek = 0x00A000;
    static constexpr uint32_t dol = 0x0000A0;
    static constexpr uint32_t lista_d = 0xA00000;
    static constexpr uint32_t lista_g = 0x101080;
    static constexpr uint32_t ustawienia = 0xB4FDB8;
    static constexpr uint32_t panel = 0x808080; // mid-grey: leaves the background alone
};

inline QColor windows_colour(uint32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

inline QByteArray bmp_bytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return bytes;
}

inline QByteArray flat_bmp(int width, int height, uint32_t colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(windows_colour(colour));
    return bmp_bytes(image);
}

struct TestSkinOptions {
    bool with_font = true;
    bool with_second_wallpaper = true;
    QByteArray index_xml = "<menu><nazwa>Gry</nazwa><nazwa>Programy</nazwa></menu>\r\n";
    QByteArray reklamy = "Linia gier\r\nLinia programow\r\n";
};

inline void write_test_skin(const DiscFixture& disc, const TestSkinOptions& options = {}) {
    const auto bmp = [&](const char* name, int w, int h, uint32_t colour) {
        disc.write(QStringLiteral("menu/") + QLatin1String(name), flat_bmp(w, h, colour));
    };
    bmp("cancel.bmp", 80, 20, 0x0000FF);
    bmp("panel.bmp", 550, 350, SkinColours::panel);
    bmp("pasek.bmp", 24, 56, SkinColours::pasek);
    bmp("separator.bmp", 2, 21, 0x00FFFF);
    bmp("dol.bmp", 24, 16, SkinColours::dol);
    bmp("lista_g.bmp", 188, 454, SkinColours::lista_g);
    bmp("lista_tlo.bmp", 188, 20, 0x080808);
    bmp("menu_l.bmp", 48, 48, 0x004000);
    bmp("menu_s.bmp", 16, 48, 0x005000);
    bmp("menu_r.bmp", 150, 48, 0x006000);
    bmp("lista_ban.bmp", 188, 34, 0x300030);
    bmp("lista_d.bmp", 188, 16, SkinColours::lista_d);
    bmp("winmenu.bmp", 120, 22, 0x333333);
    bmp("winmenu_1.bmp", 120, 22, 0x111111);
    bmp("winmenu_2.bmp", 120, 22, 0x222222);
    bmp("scroll01.bmp", 20, 20, 0x330000);
    bmp("scroll02.bmp", 20, 20, 0x003300);
    bmp("scroll1.bmp", 20, 20, 0x660000);
    bmp("scroll2.bmp", 20, 20, 0x006600);
    bmp("ustawienia.bmp", 142, 394, SkinColours::ustawienia);
    bmp("tapeta.bmp", 800, 600, SkinColours::wallpaper);
    if (options.with_second_wallpaper)
        bmp("tapeta#2.bmp", 800, 600, SkinColours::wallpaper2);
    disc.write(QStringLiteral("menu/index.xml"), options.index_xml);
    disc.write(QStringLiteral("menu/reklamy.txt"), options.reklamy);
    if (options.with_font) {
        QFile font(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
        if (font.open(QIODevice::ReadOnly))
            disc.write(QStringLiteral("menu/Digirt__.ttf"), font.readAll());
    }
}

} // namespace kelvox::test
