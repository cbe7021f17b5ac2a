#include "tools/make_demo_disc/mock_screen.h"

#include "catalogue/text_wrap.h"
#include "tools/make_demo_disc/demo_disc.h"
#include "tools/make_demo_disc/disc_content.h"
#include "tools/make_demo_disc/painting.h"

#include <QFontDatabase>

#include <algorithm>
#include <stdexcept>

namespace kelvox::demo {

namespace {

constexpr int window_width = 770;
constexpr int content_top = 16;
constexpr int bar_width = window_width - 188;

QImage load(const QString& root, const char* name) {
    QImage image(root + QStringLiteral("/menu/") + QLatin1String(name));
    if (image.isNull())
        throw std::runtime_error(std::string("cannot load ") + name);
    return image.convertToFormat(QImage::Format_RGB32);
}

// Draws an image-list cell: every pixel but the key colour.
void draw_keyed(QImage& target, const QImage& cell, int x, int y, QRgb key) {
    for (int row = 0; row < cell.height(); ++row)
        for (int col = 0; col < cell.width(); ++col) {
            const QRgb pixel = cell.pixel(col, row);
            if ((pixel & 0xFFFFFFu) != (key & 0xFFFFFFu) && target.rect().contains(x + col, y + row))
                target.setPixel(x + col, y + row, pixel);
        }
}

void or_into(QImage& target, const QImage& source, int x, int y) {
    for (int row = 0; row < source.height(); ++row)
        for (int col = 0; col < source.width(); ++col)
            target.setPixel(x + col, y + row, target.pixel(x + col, y + row) | source.pixel(col, row));
}

QImage copy_of(const QImage& from, const QRect& rect) {
    return from.copy(rect);
}

QString ticker_family(const QString& root) {
    const int id = QFontDatabase::addApplicationFont(root + QStringLiteral("/menu/Digirt__.ttf"));
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QStringLiteral("DejaVu Sans Mono") : families.first();
}

QImage background(const QString& root) {
    QImage tlo = new_image(window_width, 480, QColor(0, 0, 0));
    QPainter p(&tlo);
    p.drawImage(0, 77, load(root, "tapeta.bmp"));
    return tlo;
}

void tile_bands(QImage& tlo, const QString& root) {
    QPainter p(&tlo);
    const QImage pasek = load(root, "pasek.bmp"), dol = load(root, "dol.bmp");
    for (int x = 188; x < window_width; x += 24) {
        p.drawImage(x, 22, pasek, 0, 0, 24, 56);
        p.drawImage(x, 464, dol, 0, 0, 24, 16);
    }
}

QImage section_bar(const QImage& tlo, const QString& root) {
    QImage bar = copy_of(tlo, QRect(188, 29, bar_width, 48));
    QPainter p(&bar);
    p.drawImage(0, 0, load(root, "menu_l.bmp"));
    const QImage middle = load(root, "menu_s.bmp");
    for (int x = 48; x < bar_width - 150; x += 16)
        p.drawImage(x, 0, middle);
    p.drawImage(bar_width - 150, 0, load(root, "menu_r.bmp"));
    const QImage separator = load(root, "separator.bmp");
    QFont font = sans_font(11);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0));
    int x = 48;
    for (const DemoSection& section : demo_sections()) {
        p.drawImage(x, 0, separator);
        p.drawText(x + 12, 3 + p.fontMetrics().ascent(), section.name);
        x += p.fontMetrics().horizontalAdvance(section.name) + 22;
    }
    p.drawImage(x, 0, separator);
    p.end();
    draw_keyed(bar, load(root, "winmenu_2.bmp"), bar_width - 128, 0, qRgb(0x8D, 0x8D, 0x8D));
    return bar;
}

QImage entry_list(const QImage& tlo, const QString& root) {
    QImage list = copy_of(tlo, QRect(0, 22, 188, 458));
    const QImage pasek = load(root, "pasek.bmp");
    {
        QPainter p(&list);
        for (int x = 0; x < 188; x += 24)
            p.drawImage(x, 0, pasek, 0, 0, 24, 56);
    }
    const QImage bottom = load(root, "lista_d.bmp");
    draw_keyed(list, bottom, 0, 442, qRgb(255, 255, 255));
    QImage body = load(root, "lista_g.bmp");
    const QImage row = load(root, "lista_tlo.bmp");
    const auto& section = demo_sections().front();
    {
        QPainter p(&body);
        p.setFont(sans_font(11));
        p.setPen(QColor(238, 255, 238));
        const int rows = std::min<int>(19, static_cast<int>(section.entries.size()));
        for (int r = 0; r < rows; ++r) {
            p.end();
            or_into(body, row, 0, 40 + 20 * r);
            p.begin(&body);
            p.setFont(sans_font(11));
            p.setPen(QColor(238, 255, 238));
            p.drawText(10, 42 + 20 * r + p.fontMetrics().ascent(), section.entries[r].name);
        }
    }
    draw_keyed(list, body, 0, 16, qRgb(255, 255, 255));
    draw_keyed(list, bottom, 0, 442, qRgb(255, 255, 255));
    draw_keyed(list, load(root, "lista_ban.bmp"), 0, 0, qRgb(255, 255, 255));
    QPainter p(&list);
    p.setFont(mono_font(12, true));
    p.setPen(QColor(171, 205, 171));
    p.drawText(30, 9 + p.fontMetrics().ascent(), section.name.toUpper());
    p.end();
    QImage arrow = list.copy(84, 436, 20, 20);
    draw_keyed(arrow, load(root, "scroll02.bmp"), 0, 0, qRgb(255, 255, 255));
    QPainter(&list).drawImage(84, 436, arrow);
    // The row under the pointer is inverted.
    QImage lit = list.copy(2, 56 + 20 * 2, 184, 20);
    lit.invertPixels();
    QPainter(&list).drawImage(2, 56 + 20 * 2, lit);
    return list;
}

QImage detail_panel(const QImage& tlo, const QString& root) {
    const DemoEntry& entry = demo_sections().front().entries.front();
    QImage canvas = load(root, "panel.bmp");
    QPainter p(&canvas);
    p.setFont(mono_font(13, true));
    p.setPen(QColor(0, 0, 0));
    p.drawText(80, 24 + p.fontMetrics().ascent(), entry.title);
    p.setFont(sans_font(11));
    p.setPen(QColor(0xCD, 0xCD, 0xCD));
    const QStringList lines = wrap_text(entry.description, 22, true);
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(371, 34 + 16 * i + p.fontMetrics().ascent(), lines[i]);
    QFont bold = sans_font(11, true);
    p.setFont(bold);
    p.setPen(QColor(0, 0, 0));
    p.drawText(198 - p.fontMetrics().horizontalAdvance(entry.type) / 2, 320 + p.fontMetrics().ascent(),
               entry.type);
    QFont courier = mono_font(12, true);
    courier.setUnderline(true);
    p.setFont(courier);
    p.setPen(QColor(0xCC, 0xCC, 0xCC));
    p.drawText(367, 252 + p.fontMetrics().ascent(), QStringLiteral("wymagania:"));
    p.setFont(mono_font(12));
    const QStringList requirements = wrap_text(entry.requirements, 21, false);
    for (int i = 0; i < requirements.size(); ++i)
        p.drawText(367 - 3 * i, 270 + 12 * i + p.fontMetrics().ascent(), requirements[i]);
    p.end();
    QImage backdrop = copy_of(tlo, QRect(200, 86, 550, 350));
    blend_panel(canvas, backdrop, 16);
    QPainter b(&backdrop);
    b.drawImage(QRect(82, 82, 240, 180), QImage(on_disc(root, entry_picture_path(entry, 0))));
    b.setFont(mono_font(13, true));
    const int n = entry.picture_count, numbers_x = 202 - 8 * n;
    for (int k = 0; k < n; ++k) {
        const QString number = QString::number(k + 1);
        const QRect box(numbers_x + 16 * k, 270, b.fontMetrics().horizontalAdvance(number),
                        b.fontMetrics().height());
        b.fillRect(box, QColor(0xAA, 0xAA, 0xAA));
        b.setPen(QColor(0, 0, 0));
        b.drawText(box.left(), 270 + b.fontMetrics().ascent(), number);
    }
    b.setPen(QColor(255, 255, 255));
    b.setBrush(Qt::NoBrush);
    b.drawRect(numbers_x - 1, 269, 9, 16);
    return backdrop;
}

QImage ticker(const QString& root) {
    QImage strip = new_image(window_width, 22, QColor(0, 0, 0));
    QPainter p(&strip);
    QFont font(ticker_family(root));
    font.setPointSize(18);
    p.setFont(font);
    p.setPen(QColor(0, 0xAB, 0));
    p.drawText(140, -2 + p.fontMetrics().ascent(), QStringLiteral("Witamy w Kelvox cover menu..."));
    return strip;
}

QImage settings_drawer(const QImage& tlo, const QString& root) {
    QImage canvas = copy_of(tlo, QRect(window_width - 144, 70, 144, 394));
    draw_keyed(canvas, load(root, "ustawienia.bmp"), 0, 0, qRgb(0, 0, 0));
    QPainter p(&canvas);
    p.setPen(QColor(0, 0, 0));
    // Ticks for the first start's settings: full screen, animations, background picture 1, sound.
    for (int m : {21, 37, 157, 277}) {
        p.drawLine(128, m, 130, m + 2);
        p.drawLine(130, m + 2, 127, m + 5);
        p.drawLine(129, m, 131, m + 2);
        p.drawLine(131, m + 2, 128, m + 5);
    }
    return canvas;
}

} // namespace

void blend_panel(const QImage& relief, QImage& target, int level) {
    for (int y = 0; y < relief.height(); ++y)
        for (int x = 0; x < relief.width(); ++x) {
            const int p = qBlue(relief.pixel(x, y));
            if (p == 128)
                continue;
            const QRgb t = target.pixel(x, y);
            const int m = (qRed(t) + qGreen(t) + qBlue(t)) / 3;
            const int v = std::clamp(m + (2 * p - 256) * level / 16, 0, 245);
            target.setPixel(x, y, qRgb(v, v + 10, v));
        }
}

QImage compose_mock_screen(const QString& root) {
    QImage tlo = background(root);
    const QImage bar = section_bar(tlo, root);
    const QImage list = entry_list(tlo, root);
    tile_bands(tlo, root);
    const QImage panel = detail_panel(tlo, root);
    QImage screen = new_image(window_width, 496, QColor(0, 0, 0));
    QPainter p(&screen);
    p.translate(0, content_top);
    p.drawImage(0, 0, tlo);
    p.drawImage(188, 29, bar);
    p.drawImage(0, 22, list);
    p.drawImage(0, 0, ticker(root));
    p.drawImage(200, 86, panel);
    p.drawImage(window_width - 144, 70, settings_drawer(tlo, root));
    p.resetTransform();
    // The window's outline in window mode.
    QPainterPath outline;
    outline.addPolygon(QPolygonF{QPointF(0, 12), QPointF(592, 12), QPointF(604, 0), QPointF(770, 0),
                                 QPointF(770, 482), QPointF(187, 482), QPointF(174, 495), QPointF(0, 495)});
    QPainterPath all;
    all.addRect(0, 0, window_width, 496);
    p.fillPath(all.subtracted(outline), QColor(40, 40, 40));
    return screen;
}

} // namespace kelvox::demo
