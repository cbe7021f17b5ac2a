// The section bar and the bands around it. The bar is 48 lines high: a pale rail on its first 21 lines,
// where the section names are written in the system's (black) text colour and the highlight inverts
// them, and a dark body with a phosphor line under it.
#include "tools/make_demo_disc/painting.h"
#include "tools/make_demo_disc/skin.h"

namespace kelvox::demo {

namespace {

constexpr int bar_height = 48;
constexpr int rail_height = 21;
const QColor button_key(0x8D, 0x8D, 0x8D);

void paint_rail(QPainter& p, int left, int right) {
    const QRect rail(left, 0, right - left, rail_height);
    fill_vertical(p, rail, palette::rail_top, palette::rail_bottom);
    p.fillRect(QRect(left, 0, right - left, 1), QColor(246, 255, 244));
    p.fillRect(QRect(left, rail_height - 1, right - left, 1), QColor(120, 146, 124));
}

void paint_body(QPainter& p, int left, int right) {
    const int width = right - left;
    p.fillRect(QRect(left, rail_height, width, 1), QColor(10, 20, 13));
    fill_vertical(p, QRect(left, rail_height + 1, width, bar_height - rail_height - 1), QColor(34, 56, 40),
                  QColor(9, 17, 12));
    // The phosphor line with a faint halo above and below it.
    p.fillRect(QRect(left, 38, width, 1), QColor(30, 90, 50));
    p.fillRect(QRect(left, 39, width, 1), palette::glow);
    p.fillRect(QRect(left, 40, width, 1), QColor(24, 70, 40));
    p.fillRect(QRect(left, bar_height - 1, width, 1), QColor(4, 8, 5));
}

// A small lit lamp set into the dark body.
void paint_lamp(QPainter& p, QPointF centre, double radius) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(6, 12, 8), 1.2));
    p.setBrush(QColor(16, 40, 24));
    p.drawEllipse(centre, radius + 1.5, radius + 1.5);
    draw_glow(p, centre, radius + 3, QColor(92, 240, 130, 150));
    QRadialGradient core(centre - QPointF(radius / 3, radius / 3), radius);
    core.setColorAt(0, QColor(230, 255, 230));
    core.setColorAt(0.4, palette::glow);
    core.setColorAt(1, QColor(20, 110, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(core);
    p.drawEllipse(centre, radius, radius);
    p.setRenderHint(QPainter::Antialiasing, false);
}

// Grooves pressed into the body every 16 pixels so the middle tile reads as machined metal.
void paint_grooves(QPainter& p, int left, int right) {
    for (int x = left + 7; x < right; x += 16) {
        p.fillRect(QRect(x, 24, 1, 12), QColor(6, 12, 8));
        p.fillRect(QRect(x + 1, 24, 1, 12), QColor(52, 78, 58));
    }
}

} // namespace

QImage make_pasek() {
    QImage image = new_image(24, 56, palette::ink);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, 24, 1), QColor(4, 8, 5));
    p.fillRect(QRect(0, 1, 24, 1), QColor(40, 120, 64));
    p.fillRect(QRect(0, 2, 24, 1), palette::glow);
    p.fillRect(QRect(0, 3, 24, 1), QColor(40, 120, 64));
    fill_vertical(p, QRect(0, 4, 24, 46), QColor(38, 58, 44), QColor(12, 22, 15));
    for (int x = 3; x < 24; x += 12) {
        p.fillRect(QRect(x, 5, 6, 1), QColor(64, 92, 70));
        p.fillRect(QRect(x, 6, 6, 1), QColor(14, 24, 17));
    }
    fill_vertical(p, QRect(0, 50, 24, 4), QColor(12, 22, 15), QColor(26, 50, 34));
    p.fillRect(QRect(0, 54, 24, 1), palette::leaf);
    p.fillRect(QRect(0, 55, 24, 1), QColor(4, 8, 5));
    p.end();
    add_grain(image, 2, 11);
    return image;
}

QImage make_dol() {
    QImage image = new_image(24, 16, palette::ink);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, 24, 1), QColor(4, 8, 5));
    p.fillRect(QRect(0, 1, 24, 1), palette::glow);
    p.fillRect(QRect(0, 2, 24, 1), QColor(30, 96, 52));
    fill_vertical(p, QRect(0, 3, 24, 12), QColor(40, 62, 46), QColor(10, 18, 12));
    // A notch every tile: a short dark slot with a lit lower lip.
    p.fillRect(QRect(8, 7, 8, 2), QColor(5, 10, 6));
    p.fillRect(QRect(8, 9, 8, 1), QColor(70, 110, 78));
    p.fillRect(QRect(0, 15, 24, 1), QColor(3, 6, 4));
    p.end();
    add_grain(image, 2, 12);
    return image;
}

QImage make_menu_left() {
    QImage image = new_image(48, bar_height, QColor(0, 0, 0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A rounded left cap; the rail starts behind a slanted edge.
    QPainterPath cap;
    cap.addRoundedRect(QRectF(0.5, 0.5, 60, bar_height - 1), 10, 10);
    p.setClipPath(cap);
    fill_vertical(p, QRect(0, 0, 48, bar_height), QColor(30, 50, 36), QColor(9, 17, 12));
    paint_body(p, 0, 48);
    p.setClipping(false);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath rail;
    rail.moveTo(30, 0);
    rail.lineTo(48, 0);
    rail.lineTo(48, rail_height);
    rail.lineTo(21, rail_height);
    rail.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing);
    p.setClipPath(rail);
    paint_rail(p, 0, 48);
    p.setClipping(false);
    p.setPen(QPen(QColor(246, 255, 244), 1));
    p.drawLine(QPointF(30.5, 0.5), QPointF(21.5, rail_height - 0.5));
    p.setRenderHint(QPainter::Antialiasing, false);
    paint_lamp(p, QPointF(14.5, 16.5), 5);
    p.setPen(QPen(QColor(60, 96, 68), 1));
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawRoundedRect(QRectF(0.5, 0.5, 60, bar_height - 1), 10, 10);
    p.end();
    return image;
}

QImage make_menu_middle() {
    QImage image = new_image(16, bar_height, palette::ink);
    QPainter p(&image);
    paint_rail(p, 0, 16);
    paint_body(p, 0, 16);
    paint_grooves(p, 0, 16);
    p.end();
    return image;
}

QImage make_menu_right() {
    QImage image = new_image(150, bar_height, QColor(0, 0, 0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath cap;
    cap.addRoundedRect(QRectF(-20, 0.5, 169.5, bar_height - 1), 10, 10);
    p.setClipPath(cap);
    paint_body(p, 0, 150);
    paint_rail(p, 0, 150);
    p.setClipping(false);
    p.setRenderHint(QPainter::Antialiasing, false);
    paint_grooves(p, 0, 120);
    // Small label plate on the body under the buttons.
    p.setFont(sans_font(8, true));
    p.setPen(QColor(120, 200, 140));
    p.drawText(QRect(24, 24, 108, 12), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("KELVOX  CD"));
    paint_lamp(p, QPointF(140.5, 31.5), 3);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 96, 68), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(-20, 0.5, 169.5, bar_height - 1), 10, 10);
    p.end();
    return image;
}

QImage make_separator() {
    QImage image = new_image(2, rail_height, palette::rail_bottom);
    QPainter p(&image);
    fill_vertical(p, QRect(0, 0, 1, rail_height), QColor(110, 136, 116), QColor(70, 96, 76));
    fill_vertical(p, QRect(1, 0, 1, rail_height), QColor(255, 255, 250), QColor(214, 230, 212));
    p.end();
    return image;
}

QImage make_window_buttons(WindowButtonsLit lit) {
    QImage image = new_image(120, 22, button_key);
    QPainter p(&image);
    // Painted over the rail's own colours, so the antialiased rim blends into what lies beneath.
    paint_rail(p, 0, 120);
    p.setRenderHint(QPainter::Antialiasing);
    // A dark well holding both buttons; the rest of the cell lets the rail show.
    QPainterPath well;
    well.addRoundedRect(QRectF(26.5, 0.5, 72, 18), 5, 5);
    p.fillPath(well, QColor(14, 26, 18));
    p.setPen(QPen(QColor(250, 255, 248), 1));
    p.drawLine(QPointF(30, 18.5), QPointF(95, 18.5));
    auto button = [&p](const QRectF& r, bool on, const QColor& lit_colour) {
        QPainterPath shape;
        shape.addRoundedRect(r, 3, 3);
        QLinearGradient face(r.topLeft(), r.bottomLeft());
        face.setColorAt(0, on ? lit_colour.lighter(150) : QColor(58, 92, 66));
        face.setColorAt(1, on ? lit_colour : QColor(22, 40, 28));
        p.fillPath(shape, face);
        p.setPen(QPen(on ? QColor(230, 255, 230) : QColor(110, 170, 124), 1));
        p.drawPath(shape);
    };
    const bool minimise_on = lit == WindowButtonsLit::minimise;
    const bool close_on = lit == WindowButtonsLit::close;
    const QRectF minimise(30.5, 2.5, 29, 13), close(66.5, 2.5, 25, 13);
    button(minimise, minimise_on, QColor(40, 190, 90));
    button(close, close_on, QColor(200, 60, 44));
    p.setPen(QPen(minimise_on ? QColor(8, 30, 14) : QColor(200, 255, 210), 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(40, 12), QPointF(50, 12));
    p.setPen(
        QPen(close_on ? QColor(255, 240, 230) : QColor(200, 255, 210), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(75.5, 5.5), QPointF(82.5, 12.5));
    p.drawLine(QPointF(82.5, 5.5), QPointF(75.5, 12.5));
    p.end();
    // Antialiasing may have landed on the key grey itself; keep it for the outside only.
    QPainterPath inside;
    inside.addRoundedRect(QRectF(26, 0, 73, 20), 5, 5);
    key_outside(image, inside, button_key.rgb());
    return image;
}

} // namespace kelvox::demo
