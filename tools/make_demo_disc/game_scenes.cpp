// Scenes of the invented games. Each is painted at 320 x 240 logical units and scaled to the picture's
// size by the painter, so one drawing serves every size.
#include "tools/make_demo_disc/scenes.h"

#include "tools/make_demo_disc/painting.h"

#include <QRandomGenerator>

#include <cmath>

namespace kelvox::demo {

namespace {

QColor hue_shift(QRandomGenerator& random, int base_hue, int saturation, int value) {
    return QColor::fromHsv((base_hue + random.bounded(60) + 330) % 360, saturation, value);
}

void hud_text(QPainter& p, const QRectF& r, const QString& text, Qt::Alignment align = Qt::AlignLeft) {
    p.setFont(sans_font(9, true));
    p.setPen(QColor(0, 0, 0, 160));
    p.drawText(r.translated(1, 1), align | Qt::AlignVCenter, text);
    p.setPen(QColor(255, 255, 230));
    p.drawText(r, align | Qt::AlignVCenter, text);
}

} // namespace

void paint_space(QPainter& p, QRandomGenerator& random, const QString& caption) {
    p.fillRect(QRectF(0, 0, 320, 240), QColor(4, 4, 16));
    for (int i = 0; i < 180; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 60 + random.bounded(195)), random.bounded(4) ? 0.6 : 1.2));
        p.drawPoint(QPointF(random.bounded(320.0), random.bounded(240.0)));
    }
    draw_glow(p, QPointF(90, 70), 120, QColor(120, 60, 200, 70));
    const QPointF planet(240 + random.bounded(40), 190);
    QRadialGradient body(planet - QPointF(30, 30), 120);
    body.setColorAt(0, hue_shift(random, 180, 160, 230));
    body.setColorAt(1, QColor(10, 20, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(planet, 100, 100);
    p.setPen(QPen(QColor(200, 220, 255, 120), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(planet, 150, 26);
    // The player's ship and its exhaust.
    p.save();
    p.translate(120 + random.bounded(60), 130 + random.bounded(40));
    draw_glow(p, QPointF(-22, 0), 16, QColor(255, 160, 60, 200));
    QPolygonF ship{QPointF(22, 0), QPointF(-14, -11), QPointF(-8, 0), QPointF(-14, 11)};
    p.setPen(QPen(QColor(40, 60, 90), 1));
    p.setBrush(QColor(200, 214, 230));
    p.drawPolygon(ship);
    p.setBrush(QColor(80, 200, 255));
    p.drawEllipse(QPointF(4, 0), 4, 2.5);
    p.restore();
    for (int i = 0; i < 5; ++i) {
        const QPointF at(200 + random.bounded(110), 20 + random.bounded(110));
        p.setPen(QPen(QColor(255, 90, 90), 1.5));
        p.setBrush(QColor(120, 20, 30));
        p.drawEllipse(at, 6, 4);
        p.setPen(QPen(QColor(255, 240, 120, 200), 1.2));
        p.drawLine(at - QPointF(20 + i * 4, 0), at - QPointF(34 + i * 4, 0));
    }
    hud_text(p, QRectF(8, 4, 200, 14), caption);
    hud_text(p, QRectF(112, 4, 200, 14), QStringLiteral("WYNIK %1").arg(1000 + random.bounded(90000)),
             Qt::AlignRight);
}

void paint_racing(QPainter& p, QRandomGenerator& random, const QString& caption) {
    const bool night = random.bounded(2) == 0;
    fill_vertical(p, QRect(0, 0, 320, 110), night ? QColor(10, 14, 40) : QColor(90, 150, 230),
                  night ? QColor(60, 40, 80) : QColor(230, 200, 170));
    p.setBrush(night ? QColor(20, 24, 40) : QColor(90, 110, 140));
    p.setPen(Qt::NoPen);
    QPolygonF hills{QPointF(0, 110),  QPointF(40, 80),  QPointF(90, 100), QPointF(150, 70),
                    QPointF(210, 98), QPointF(270, 76), QPointF(320, 96), QPointF(320, 110)};
    p.drawPolygon(hills);
    p.fillRect(QRectF(0, 110, 320, 130), night ? QColor(16, 40, 20) : QColor(70, 140, 60));
    QPolygonF road{QPointF(150, 110), QPointF(170, 110), QPointF(300, 240), QPointF(20, 240)};
    p.setBrush(QColor(60, 60, 66));
    p.drawPolygon(road);
    for (int i = 0; i < 8; ++i) {
        const double t0 = i / 8.0, t1 = t0 + 0.06;
        const double y0 = 110 + 130 * t0 * t0, y1 = 110 + 130 * t1 * t1;
        p.setBrush(QColor(240, 240, 230));
        p.drawPolygon(QPolygonF{QPointF(159 - t0 * 3, y0), QPointF(161 + t0 * 3, y0),
                                QPointF(161 + t1 * 3, y1), QPointF(159 - t1 * 3, y1)});
    }
    // The player's car from behind.
    const QColor paint = hue_shift(random, 0, 200, 220);
    p.setBrush(paint);
    p.drawRoundedRect(QRectF(130, 180, 64, 30), 6, 6);
    p.setBrush(paint.darker(160));
    p.drawRoundedRect(QRectF(140, 166, 44, 18), 5, 5);
    p.setBrush(QColor(20, 20, 20));
    p.drawRect(QRectF(128, 206, 14, 10));
    p.drawRect(QRectF(182, 206, 14, 10));
    p.setBrush(QColor(255, 60, 40));
    p.drawRect(QRectF(134, 186, 10, 5));
    p.drawRect(QRectF(180, 186, 10, 5));
    // Speedometer.
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawEllipse(QPointF(282, 202), 30, 30);
    p.setPen(QPen(QColor(255, 255, 255), 1));
    for (int k = 0; k <= 8; ++k) {
        const double a = M_PI * (0.8 + k * 0.175);
        p.drawLine(QPointF(282 + 24 * std::cos(a), 202 + 24 * std::sin(a)),
                   QPointF(282 + 28 * std::cos(a), 202 + 28 * std::sin(a)));
    }
    const double needle = M_PI * (0.8 + 1.4 * random.bounded(1.0));
    p.setPen(QPen(QColor(255, 80, 40), 2));
    p.drawLine(QPointF(282, 202), QPointF(282 + 22 * std::cos(needle), 202 + 22 * std::sin(needle)));
    hud_text(p, QRectF(8, 4, 200, 14), caption);
    hud_text(p, QRectF(120, 4, 192, 14), QStringLiteral("OKR. %1/5").arg(1 + random.bounded(5)),
             Qt::AlignRight);
}

void paint_strategy(QPainter& p, QRandomGenerator& random, const QString& caption) {
    const QColor tiles[] = {QColor(86, 150, 70), QColor(60, 120, 56), QColor(40, 90, 160),
                            QColor(150, 140, 90), QColor(34, 86, 40)};
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 16; ++x) {
            const int n = (x * 7 + y * 13 + random.bounded(3)) % 9;
            const QColor c = n < 4   ? tiles[0]
                             : n < 6 ? tiles[1]
                             : n < 7 ? tiles[3]
                             : n < 8 ? tiles[4]
                                     : tiles[2];
            p.fillRect(QRectF(x * 16, y * 16, 16, 16), c);
            p.fillRect(QRectF(x * 16, y * 16, 16, 1), c.lighter(115));
        }
    // A river across the map.
    p.setPen(QPen(QColor(50, 110, 190), 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 60 + random.bounded(40)), QPointF(256, 150 + random.bounded(60)));
    for (int i = 0; i < 9; ++i) {
        const QPointF at(12 + random.bounded(230), 12 + random.bounded(210));
        const bool ours = i % 2 == 0;
        p.setPen(QPen(QColor(0, 0, 0), 1));
        p.setBrush(ours ? QColor(40, 80, 220) : QColor(210, 40, 40));
        p.drawEllipse(at, 5, 5);
        p.setPen(QPen(QColor(250, 250, 250), 1));
        p.drawLine(at, at + QPointF(0, -10));
        p.fillRect(QRectF(at.x(), at.y() - 10, 6, 4), ours ? QColor(80, 140, 255) : QColor(255, 100, 100));
    }
    // The side panel with a minimap and buttons.
    p.fillRect(QRectF(256, 0, 64, 240), QColor(60, 48, 34));
    draw_bevel(p, QRect(256, 0, 64, 240), QColor(140, 120, 90), QColor(30, 22, 14), 2);
    p.fillRect(QRectF(262, 8, 52, 46), QColor(30, 60, 30));
    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(270, 18, 16, 12));
    for (int i = 0; i < 4; ++i) {
        p.fillRect(QRectF(262, 64 + i * 26, 52, 20), QColor(100, 84, 60));
        draw_bevel(p, QRect(262, 64 + i * 26, 52, 20), QColor(170, 150, 120), QColor(40, 30, 20));
    }
    p.setFont(sans_font(7, true));
    p.setPen(QColor(255, 240, 200));
    const QString labels[] = {QStringLiteral("Buduj"), QStringLiteral("Atak"), QStringLiteral("Handel"),
                              QStringLiteral("Mapa")};
    for (int i = 0; i < 4; ++i)
        p.drawText(QRectF(262, 64 + i * 26, 52, 20), Qt::AlignCenter, labels[i]);
    p.drawText(QRectF(258, 176, 60, 60), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("Złoto: %1\nDrewno: %2").arg(random.bounded(900)).arg(random.bounded(400)));
    hud_text(p, QRectF(6, 224, 240, 14), caption);
}

void paint_platformer(QPainter& p, QRandomGenerator& random, const QString& caption) {
    fill_vertical(p, QRect(0, 0, 320, 240), QColor(110, 190, 250), QColor(210, 240, 255));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(QColor(255, 255, 255, 220));
        const QPointF at(random.bounded(320), 20 + random.bounded(60));
        p.drawEllipse(at, 20, 9);
        p.drawEllipse(at + QPointF(14, -5), 14, 9);
    }
    p.setBrush(QColor(90, 170, 90));
    p.drawEllipse(QPointF(60, 220), 110, 70);
    p.setBrush(QColor(70, 150, 80));
    p.drawEllipse(QPointF(250, 225), 130, 60);
    const int ground = 200;
    for (int x = 0; x < 320; x += 16) {
        p.fillRect(QRectF(x, ground, 16, 40), QColor(150, 90, 40));
        p.fillRect(QRectF(x, ground, 16, 5), QColor(70, 190, 60));
        p.fillRect(QRectF(x, ground + 5, 1, 35), QColor(110, 60, 24));
    }
    for (int i = 0; i < 3; ++i) {
        const double x = 50 + i * 90 + random.bounded(20), y = 110 + random.bounded(50);
        for (int k = 0; k < 3; ++k) {
            p.fillRect(QRectF(x + k * 16, y, 15, 15), QColor(220, 140, 50));
            draw_bevel(p, QRect(int(x + k * 16), int(y), 15, 15), QColor(255, 200, 120), QColor(120, 70, 20));
        }
        p.setBrush(QColor(255, 210, 40));
        p.setPen(QPen(QColor(170, 120, 0), 1));
        p.drawEllipse(QPointF(x + 24, y - 14), 5, 6);
    }
    // The hero.
    const double hx = 70 + random.bounded(140);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 40, 40));
    p.drawRoundedRect(QRectF(hx, ground - 22, 14, 14), 3, 3);
    p.setBrush(QColor(255, 210, 170));
    p.drawEllipse(QPointF(hx + 7, ground - 27), 6, 6);
    p.setBrush(QColor(40, 60, 160));
    p.drawRect(QRectF(hx + 1, ground - 8, 5, 8));
    p.drawRect(QRectF(hx + 8, ground - 8, 5, 8));
    hud_text(p, QRectF(8, 4, 200, 14), caption);
    hud_text(p, QRectF(120, 4, 192, 14), QStringLiteral("MONETY x%1").arg(random.bounded(99)),
             Qt::AlignRight);
}

void paint_dungeon(QPainter& p, QRandomGenerator& random, const QString& caption) {
    p.fillRect(QRectF(0, 0, 320, 240), QColor(14, 10, 8));
    // Corridor walls converging on a dark doorway.
    const QPointF far_tl(120, 70), far_br(200, 150);
    auto quad = [&p](QPolygonF poly, const QColor& c) {
        p.setBrush(c);
        p.setPen(QPen(c.darker(150), 1));
        p.drawPolygon(poly);
    };
    quad(QPolygonF{QPointF(0, 0), far_tl, QPointF(far_tl.x(), far_br.y()), QPointF(0, 240)},
         QColor(80, 70, 60));
    quad(QPolygonF{QPointF(320, 0), QPointF(far_br.x(), far_tl.y()), far_br, QPointF(320, 240)},
         QColor(70, 60, 52));
    quad(QPolygonF{QPointF(0, 240), QPointF(far_tl.x(), far_br.y()), far_br, QPointF(320, 240)},
         QColor(50, 44, 40));
    quad(QPolygonF{QPointF(0, 0), QPointF(320, 0), QPointF(far_br.x(), far_tl.y()), far_tl},
         QColor(36, 30, 28));
    p.fillRect(QRectF(far_tl, far_br), QColor(6, 4, 4));
    p.setPen(QPen(QColor(30, 24, 20), 1));
    for (int k = 1; k < 6; ++k) {
        const double t = k / 6.0;
        p.drawLine(QPointF(0, 240 * t), QPointF(far_tl.x(), far_tl.y() + (far_br.y() - far_tl.y()) * t));
        p.drawLine(QPointF(320, 240 * t), QPointF(far_br.x(), far_tl.y() + (far_br.y() - far_tl.y()) * t));
    }
    for (const QPointF& torch : {QPointF(50, 90), QPointF(270, 90)}) {
        draw_glow(p, torch, 60 + random.bounded(20), QColor(255, 150, 50, 110));
        p.setBrush(QColor(255, 220, 120));
        p.setPen(Qt::NoPen);
        p.drawEllipse(torch, 4, 7);
    }
    // A dialogue box with a portrait.
    p.fillRect(QRectF(10, 178, 300, 54), QColor(10, 10, 40, 220));
    p.setPen(QPen(QColor(200, 190, 140), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(10.5, 178.5, 299, 53));
    p.fillRect(QRectF(16, 184, 42, 42), QColor(120, 80, 60));
    p.setFont(sans_font(9));
    p.setPen(QColor(240, 230, 200));
    p.drawText(QRectF(66, 182, 238, 46), Qt::AlignLeft | Qt::TextWordWrap,
               caption + QStringLiteral(": Strażnik mówi, że dalej jest tylko ciemność..."));
}

void paint_underwater(QPainter& p, QRandomGenerator& random, const QString& caption) {
    fill_vertical(p, QRect(0, 0, 320, 240), QColor(30, 140, 170), QColor(4, 30, 60));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        QLinearGradient shaft(0, 0, 0, 240);
        shaft.setColorAt(0, QColor(220, 255, 255, 60));
        shaft.setColorAt(1, QColor(220, 255, 255, 0));
        const double x = random.bounded(320);
        p.setBrush(shaft);
        p.drawPolygon(
            QPolygonF{QPointF(x, 0), QPointF(x + 24, 0), QPointF(x + 70, 240), QPointF(x + 20, 240)});
    }
    p.setBrush(QColor(200, 180, 120));
    p.drawEllipse(QPointF(160, 270), 260, 60);
    for (int i = 0; i < 7; ++i) {
        const QPointF at(random.bounded(320), 40 + random.bounded(150));
        const QColor c = hue_shift(random, 20, 220, 250);
        p.setBrush(c);
        p.drawEllipse(at, 10, 5);
        p.drawPolygon(QPolygonF{at + QPointF(8, 0), at + QPointF(16, -5), at + QPointF(16, 5)});
        p.setBrush(QColor(0, 0, 0));
        p.drawEllipse(at + QPointF(-5, -1), 1.2, 1.2);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 250, 255, 170), 1));
    for (int i = 0; i < 25; ++i) {
        const double r = 1 + random.bounded(3.0);
        p.drawEllipse(QPointF(random.bounded(320), random.bounded(240)), r, r);
    }
    p.setPen(QPen(QColor(40, 130, 60), 3, Qt::SolidLine, Qt::RoundCap));
    for (int x = 20; x < 320; x += 37)
        p.drawLine(QPointF(x, 240), QPointF(x + 6 * std::sin(x), 190 + random.bounded(20)));
    hud_text(p, QRectF(8, 4, 200, 14), caption);
    hud_text(p, QRectF(120, 4, 192, 14), QStringLiteral("TLEN %1%").arg(20 + random.bounded(80)),
             Qt::AlignRight);
}

void paint_board(QPainter& p, QRandomGenerator& random, const QString& caption) {
    p.fillRect(QRectF(0, 0, 320, 240), QColor(40, 30, 24));
    const double cell = 26, left = 12, top = 14;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            p.fillRect(QRectF(left + x * cell, top + y * cell, cell, cell),
                       (x + y) % 2 ? QColor(120, 80, 50) : QColor(230, 210, 170));
    p.setFont(sans_font(20));
    const QString pieces = QStringLiteral("♜♞♝♛♚♝♞♜");
    for (int x = 0; x < 8; ++x) {
        p.setPen(QColor(20, 20, 20));
        p.drawText(QRectF(left + x * cell, top, cell, cell), Qt::AlignCenter, pieces.mid(x, 1));
        if (random.bounded(4))
            p.drawText(QRectF(left + x * cell, top + cell, cell, cell), Qt::AlignCenter, QStringLiteral("♟"));
        p.setPen(QColor(250, 250, 250));
        p.drawText(QRectF(left + x * cell, top + 7 * cell, cell, cell), Qt::AlignCenter, pieces.mid(x, 1));
        if (random.bounded(4))
            p.drawText(QRectF(left + x * cell, top + 6 * cell - random.bounded(2) * 2 * cell, cell, cell),
                       Qt::AlignCenter, QStringLiteral("♙"));
    }
    p.fillRect(QRectF(232, 14, 80, 208), QColor(20, 16, 12));
    p.setFont(mono_font(9));
    p.setPen(QColor(230, 220, 190));
    QString moves;
    const char* files = "abcdefgh";
    for (int i = 1; i <= 14; ++i)
        moves += QStringLiteral("%1. %2%3 %4%5\n")
                     .arg(i)
                     .arg(QLatin1Char(files[random.bounded(8)]))
                     .arg(random.bounded(1, 9))
                     .arg(QLatin1Char(files[random.bounded(8)]))
                     .arg(random.bounded(1, 9));
    p.drawText(QRectF(238, 18, 72, 200), Qt::AlignLeft | Qt::AlignTop, moves);
    hud_text(p, QRectF(12, 224, 220, 14), caption);
}

} // namespace kelvox::demo
