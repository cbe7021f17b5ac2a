// Scenes of the invented programs: plain desktop windows of the time, painted at 320 x 240.
#include "tools/make_demo_disc/painting.h"
#include "tools/make_demo_disc/scenes.h"

#include <cmath>

namespace kelvox::demo {

namespace {

const QColor face(212, 208, 200);
const QColor face_light(255, 255, 255);
const QColor face_dark(128, 128, 128);

// A window frame with a title bar; returns the client rectangle.
QRectF paint_window(QPainter& p, const QRectF& outer, const QString& title, const QColor& title_colour) {
    p.fillRect(outer, face);
    draw_bevel(p, outer.toRect(), face_light, QColor(64, 64, 64), 2);
    QLinearGradient bar(outer.left(), 0, outer.right(), 0);
    bar.setColorAt(0, title_colour);
    bar.setColorAt(1, title_colour.lighter(170));
    p.fillRect(QRectF(outer.left() + 3, outer.top() + 3, outer.width() - 6, 13), bar);
    p.setFont(sans_font(8, true));
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(outer.left() + 7, outer.top() + 3, outer.width() - 50, 13), Qt::AlignVCenter, title);
    for (int i = 0; i < 3; ++i) {
        const QRect box(int(outer.right() - 14 - i * 13), int(outer.top() + 5), 11, 9);
        p.fillRect(box, face);
        draw_bevel(p, box, face_light, QColor(64, 64, 64));
    }
    return QRectF(outer.left() + 3, outer.top() + 17, outer.width() - 6, outer.height() - 20);
}

void paint_desktop(QPainter& p, QRandomGenerator& random) {
    p.fillRect(QRectF(0, 0, 320, 240), QColor::fromHsv(160 + random.bounded(40), 120, 120));
    p.fillRect(QRectF(0, 226, 320, 14), face);
    p.fillRect(QRectF(0, 226, 320, 1), face_light);
    p.fillRect(QRectF(2, 228, 34, 10), face);
    draw_bevel(p, QRect(2, 228, 34, 10), face_light, QColor(64, 64, 64));
    p.setFont(sans_font(7, true));
    p.setPen(QColor(0, 0, 0));
    p.drawText(QRectF(2, 228, 34, 10), Qt::AlignCenter, QStringLiteral("Start"));
}

void paint_menu_bar(QPainter& p, const QRectF& client, const QStringList& items) {
    p.setFont(sans_font(8));
    p.setPen(QColor(0, 0, 0));
    double x = client.left() + 4;
    for (const QString& item : items) {
        p.drawText(QPointF(x, client.top() + 9), item);
        x += p.fontMetrics().horizontalAdvance(item) + 10;
    }
}

void paint_toolbar(QPainter& p, const QRectF& client, QRandomGenerator& random) {
    for (int i = 0; i < 9; ++i) {
        const QRect button(int(client.left() + 3 + i * 17), int(client.top() + 13), 15, 14);
        draw_bevel(p, button, face_light, face_dark);
        p.fillRect(button.adjusted(4, 4, -4, -4), QColor::fromHsv(random.bounded(360), 160, 200));
    }
}

} // namespace

void paint_app_window(QPainter& p, QRandomGenerator& random, const QString& caption) {
    paint_desktop(p, random);
    const QRectF client = paint_window(p, QRectF(8, 6, 304, 214), caption, QColor(10, 36, 106));
    paint_menu_bar(p, client,
                   {QStringLiteral("Plik"), QStringLiteral("Edycja"), QStringLiteral("Widok"),
                    QStringLiteral("Narzędzia"), QStringLiteral("Pomoc")});
    paint_toolbar(p, client, random);
    // A folder tree on the left and a document on the right.
    const QRectF tree(client.left() + 2, client.top() + 30, 82, client.height() - 44);
    const QRectF page(tree.right() + 4, tree.top(), client.right() - tree.right() - 6, tree.height());
    p.fillRect(tree, QColor(255, 255, 255));
    p.fillRect(page, QColor(255, 255, 255));
    draw_bevel(p, tree.toRect(), face_dark, face_light);
    draw_bevel(p, page.toRect(), face_dark, face_light);
    p.setFont(sans_font(7));
    const QString folders[] = {QStringLiteral("Dokumenty"), QStringLiteral("Projekty"),
                               QStringLiteral("Zdjęcia"),   QStringLiteral("Muzyka"),
                               QStringLiteral("Archiwum"),  QStringLiteral("Kopie")};
    for (int i = 0; i < 6; ++i) {
        p.fillRect(QRectF(tree.left() + 6 + (i % 3) * 4, tree.top() + 6 + i * 14, 9, 7),
                   QColor(240, 200, 80));
        p.setPen(QColor(0, 0, 0));
        p.drawText(QPointF(tree.left() + 18 + (i % 3) * 4, tree.top() + 13 + i * 14), folders[i]);
    }
    for (int line = 0; line < 14; ++line) {
        const double w = (page.width() - 16) * (0.5 + random.bounded(0.5));
        p.fillRect(QRectF(page.left() + 8, page.top() + 8 + line * 10, w, 3),
                   line % 5 == 0 ? QColor(30, 60, 160) : QColor(90, 90, 90));
    }
    p.fillRect(QRectF(client.left(), client.bottom() - 11, client.width(), 11), face);
    p.setPen(QColor(0, 0, 0));
    p.drawText(QPointF(client.left() + 4, client.bottom() - 3), QStringLiteral("Gotowy"));
}

void paint_chart(QPainter& p, QRandomGenerator& random, const QString& caption) {
    paint_desktop(p, random);
    const QRectF client = paint_window(p, QRectF(6, 6, 308, 214), caption, QColor(0, 90, 60));
    paint_menu_bar(
        p, client,
        {QStringLiteral("Plik"), QStringLiteral("Dane"), QStringLiteral("Wykres"), QStringLiteral("Okno")});
    const QRectF sheet(client.left() + 2, client.top() + 14, 120, client.height() - 16);
    p.fillRect(sheet, QColor(255, 255, 255));
    p.setPen(QPen(QColor(190, 190, 190), 1));
    for (double y = sheet.top(); y < sheet.bottom(); y += 11)
        p.drawLine(QPointF(sheet.left(), y), QPointF(sheet.right(), y));
    for (double x = sheet.left(); x < sheet.right(); x += 40)
        p.drawLine(QPointF(x, sheet.top()), QPointF(x, sheet.bottom()));
    p.setFont(sans_font(7));
    p.setPen(QColor(0, 0, 0));
    const QString months[] = {QStringLiteral("Sty"), QStringLiteral("Lut"), QStringLiteral("Mar"),
                              QStringLiteral("Kwi"), QStringLiteral("Maj"), QStringLiteral("Cze")};
    int values[6];
    for (int i = 0; i < 6; ++i) {
        values[i] = 20 + random.bounded(80);
        p.drawText(QPointF(sheet.left() + 3, sheet.top() + 20 + i * 11), months[i]);
        p.drawText(QPointF(sheet.left() + 43, sheet.top() + 20 + i * 11), QString::number(values[i] * 37));
        p.drawText(QPointF(sheet.left() + 83, sheet.top() + 20 + i * 11), QString::number(values[i] % 17));
    }
    const QRectF chart(sheet.right() + 6, sheet.top(), client.right() - sheet.right() - 8, sheet.height());
    p.fillRect(chart, QColor(250, 250, 240));
    draw_bevel(p, chart.toRect(), face_dark, face_light);
    const double bar_width = (chart.width() - 20) / 6;
    for (int i = 0; i < 6; ++i) {
        const double h = (chart.height() - 30) * values[i] / 100.0;
        QLinearGradient g(0, chart.bottom() - 14 - h, 0, chart.bottom() - 14);
        const QColor c = QColor::fromHsv((100 + i * 40) % 360, 180, 220);
        g.setColorAt(0, c.lighter(130));
        g.setColorAt(1, c.darker(130));
        p.fillRect(QRectF(chart.left() + 12 + i * bar_width, chart.bottom() - 14 - h, bar_width - 6, h), g);
        p.setPen(QColor(0, 0, 0));
        p.drawText(QPointF(chart.left() + 12 + i * bar_width, chart.bottom() - 4), months[i]);
    }
    p.setPen(QPen(QColor(200, 30, 30), 1.5));
    QPolygonF trend;
    for (int i = 0; i < 6; ++i)
        trend << QPointF(chart.left() + 12 + i * bar_width + bar_width / 2 - 3,
                         chart.bottom() - 14 - (chart.height() - 30) * values[i] / 100.0 - 6);
    p.drawPolyline(trend);
}

void paint_installer(QPainter& p, QRandomGenerator& random, const QString& caption) {
    fill_vertical(p, QRect(0, 0, 320, 240), QColor(0, 0, 120), QColor(0, 0, 20));
    p.setFont(sans_font(18, true));
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRectF(10, 6, 300, 26), Qt::AlignLeft, caption);
    const QRectF client = paint_window(p, QRectF(40, 50, 240, 150), QStringLiteral("Instalacja - ") + caption,
                                       QColor(10, 36, 106));
    p.fillRect(QRectF(client.left(), client.top(), 60, client.height() - 26), QColor(0, 100, 80));
    draw_glow(p, QPointF(client.left() + 30, client.top() + 40), 26, QColor(140, 255, 180, 200));
    p.setFont(sans_font(8));
    p.setPen(QColor(0, 0, 0));
    p.drawText(QRectF(client.left() + 66, client.top() + 6, client.width() - 70, 40), Qt::TextWordWrap,
               QStringLiteral("Trwa kopiowanie plików. Proszę czekać..."));
    const QRectF bar(client.left() + 66, client.top() + 52, client.width() - 74, 12);
    p.fillRect(bar, QColor(255, 255, 255));
    draw_bevel(p, bar.toRect(), face_dark, face_light);
    const int blocks = 4 + random.bounded(12);
    for (int i = 0; i < blocks; ++i)
        p.fillRect(QRectF(bar.left() + 2 + i * 9, bar.top() + 2, 7, bar.height() - 4), QColor(10, 36, 160));
    p.setFont(sans_font(7));
    p.drawText(
        QPointF(client.left() + 66, client.top() + 78),
        QStringLiteral("C:\\GRY\\DANE\\POZIOM%1.DAT").arg(random.bounded(1, 20), 2, 10, QLatin1Char('0')));
    for (int i = 0; i < 2; ++i) {
        const QRect button(int(client.right() - 116 + i * 58), int(client.bottom() - 20), 52, 16);
        p.fillRect(button, face);
        draw_bevel(p, button, face_light, QColor(64, 64, 64));
        p.drawText(button, Qt::AlignCenter, i == 0 ? QStringLiteral("< Wstecz") : QStringLiteral("Anuluj"));
    }
}

void paint_player(QPainter& p, QRandomGenerator& random, const QString& caption) {
    p.fillRect(QRectF(0, 0, 320, 240), QColor(18, 18, 24));
    QPainterPath body;
    body.addRoundedRect(QRectF(10, 10, 300, 220), 14, 14);
    QLinearGradient metal(0, 10, 0, 230);
    metal.setColorAt(0, QColor(70, 74, 86));
    metal.setColorAt(1, QColor(26, 28, 34));
    p.fillPath(body, metal);
    p.fillRect(QRectF(22, 22, 276, 44), QColor(6, 20, 10));
    p.setFont(mono_font(11, true));
    p.setPen(QColor(110, 255, 140));
    p.drawText(QRectF(28, 24, 264, 18), Qt::AlignLeft | Qt::AlignVCenter, caption);
    p.drawText(
        QRectF(28, 44, 264, 18), Qt::AlignRight | Qt::AlignVCenter,
        QStringLiteral("%1:%2").arg(random.bounded(6)).arg(random.bounded(60), 2, 10, QLatin1Char('0')));
    for (int i = 0; i < 32; ++i) {
        const double h = 8 + 50 * std::fabs(std::sin(i * 0.45 + random.bounded(1.0))) * (1 - i / 48.0);
        QLinearGradient g(0, 140 - h, 0, 140);
        g.setColorAt(0, QColor(255, 80, 60));
        g.setColorAt(0.4, QColor(250, 220, 60));
        g.setColorAt(1, QColor(60, 220, 90));
        p.fillRect(QRectF(24 + i * 8.6, 140 - h, 6.5, h), g);
    }
    p.fillRect(QRectF(22, 148, 276, 58), QColor(12, 12, 16));
    p.setFont(sans_font(8));
    const QString songs[] = {QStringLiteral("01. Zielony świt"), QStringLiteral("02. Nocna jazda"),
                             QStringLiteral("03. Latarnia"), QStringLiteral("04. Deszczowy walc")};
    for (int i = 0; i < 4; ++i) {
        p.setPen(i == 1 ? QColor(120, 255, 150) : QColor(190, 190, 200));
        p.drawText(QPointF(28, 160 + i * 13), songs[i]);
    }
    for (int i = 0; i < 5; ++i) {
        const QRectF button(60 + i * 42, 210, 34, 14);
        p.fillRect(button, QColor(60, 64, 76));
        p.setPen(QColor(220, 220, 230));
        const QString glyphs[] = {QStringLiteral("|<"), QStringLiteral(">"), QStringLiteral("||"),
                                  QStringLiteral("[]"), QStringLiteral(">|")};
        p.drawText(button, Qt::AlignCenter, glyphs[i]);
    }
}

} // namespace kelvox::demo
