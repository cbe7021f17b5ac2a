// The entry list column: a banner carrying the section's name, the body frame the rows are rendered
// into, the row background (combined with the body by a bitwise OR, so it is kept dark and the body
// under the rows nearly black), the bottom edge and the scroll arrows. White is left out of all but the
// row background.
#include "tools/make_demo_disc/painting.h"
#include "tools/make_demo_disc/skin.h"

namespace kelvox::demo {

namespace {

constexpr QRgb white = 0xFFFFFFFFu;
constexpr int list_width = 188;

// A dark plate with a lit rim and a phosphor edge along its bottom.
void paint_plate(QPainter& p, const QPainterPath& shape, const QRectF& bounds) {
    QLinearGradient face(bounds.topLeft(), bounds.bottomLeft());
    face.setColorAt(0, QColor(44, 70, 52));
    face.setColorAt(0.5, QColor(20, 36, 25));
    face.setColorAt(1, QColor(10, 19, 13));
    p.fillPath(shape, face);
    p.setPen(QPen(QColor(92, 130, 100), 1));
    p.drawPath(shape);
}

} // namespace

QImage make_list_banner() {
    QImage image = new_image(list_width, 34, palette::ink);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.moveTo(0.5, 2.5);
    shape.lineTo(178.5, 2.5);
    shape.lineTo(187.5, 11.5);
    shape.lineTo(187.5, 32.5);
    shape.lineTo(0.5, 32.5);
    shape.closeSubpath();
    paint_plate(p, shape, shape.boundingRect());
    // The name is written at (30, 9); a sunken slot behind it keeps the pale green legible.
    QPainterPath slot;
    slot.addRoundedRect(QRectF(24.5, 7.5, 156, 20), 4, 4);
    p.fillPath(slot, QColor(5, 12, 7));
    p.setPen(QPen(QColor(70, 110, 80), 1));
    p.drawLine(QPointF(28, 27.5), QPointF(177, 27.5));
    p.setPen(QPen(QColor(2, 5, 3), 1));
    p.drawLine(QPointF(28, 7.5), QPointF(177, 7.5));
    // A chevron lamp at the left points into the list.
    QPainterPath chevron;
    chevron.moveTo(8, 11);
    chevron.lineTo(17, 17.5);
    chevron.lineTo(8, 24);
    chevron.closeSubpath();
    draw_glow(p, QPointF(12, 17.5), 9, QColor(92, 240, 130, 110));
    p.fillPath(chevron, palette::glow);
    p.fillRect(QRectF(1, 31, 186, 1), palette::leaf);
    p.end();
    key_outside(image, shape, white);
    return image;
}

QImage make_list_body() {
    QImage image = new_image(list_width, 454, palette::ink);
    QPainter p(&image);
    // Header under the banner (body lines 0 to 39): the scroll-up arrow sits in it.
    fill_vertical(p, QRect(0, 0, list_width, 40), QColor(28, 46, 33), QColor(12, 22, 15));
    for (int x = 14; x < 176; x += 6) {
        if (x > 76 && x < 110)
            continue; // leave the arrow's place plain
        p.fillRect(QRect(x, 24, 3, 10), QColor(8, 15, 10));
        p.fillRect(QRect(x, 34, 3, 1), QColor(56, 86, 64));
    }
    p.fillRect(QRect(0, 38, list_width, 1), QColor(46, 140, 74));
    p.fillRect(QRect(0, 39, list_width, 1), QColor(4, 8, 5));
    // Rows 0 to 18 cover body lines 40 to 419; the dark values there barely change the OR-ed rows.
    for (int y = 40; y < 420; ++y) {
        const int v = (y / 2) % 2;
        p.fillRect(QRect(0, y, list_width, 1), QColor(2 + v, 4 + v, 2 + v));
    }
    // Footer with the scroll-down arrow's place, then the part the bottom edge covers.
    fill_vertical(p, QRect(0, 420, list_width, 34), QColor(12, 22, 15), QColor(30, 50, 36));
    p.fillRect(QRect(0, 420, list_width, 1), QColor(46, 140, 74));
    // The frame: a lit outer line and a dark inner one on both sides, outside the row highlight (2..185).
    p.fillRect(QRect(0, 0, 1, 454), QColor(92, 150, 104));
    p.fillRect(QRect(1, 0, 1, 454), QColor(6, 12, 8));
    p.fillRect(QRect(186, 0, 1, 454), QColor(6, 12, 8));
    p.fillRect(QRect(187, 0, 1, 454), QColor(60, 100, 70));
    p.end();
    return image;
}

QImage make_list_row() {
    QImage image = new_image(list_width, 20, QColor(0, 0, 0));
    QPainter p(&image);
    fill_vertical(p, QRect(2, 0, 184, 19), QColor(22, 52, 32), QColor(10, 26, 16));
    p.fillRect(QRect(2, 0, 184, 1), QColor(34, 72, 46));
    p.fillRect(QRect(2, 19, 184, 1), QColor(4, 10, 6));
    // A short accent before the name, which is written at x 10.
    p.fillRect(QRect(4, 5, 2, 10), QColor(60, 200, 100));
    p.end();
    // Columns 0, 1, 186 and 187 stay black so the OR leaves the body's frame as it is.
    return image;
}

QImage make_list_bottom() {
    QImage image = new_image(list_width, 16, palette::ink);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The right end follows the slant that cuts the window's lower edge in window mode.
    QPainterPath shape;
    shape.moveTo(0.5, 0.5);
    shape.lineTo(187.5, 0.5);
    shape.lineTo(187.5, 1.5);
    shape.lineTo(173.5, 15.5);
    shape.lineTo(0.5, 15.5);
    shape.closeSubpath();
    paint_plate(p, shape, shape.boundingRect());
    p.fillRect(QRectF(1, 1, 185, 1), palette::glow);
    for (int x = 12; x < 150; x += 10)
        p.fillRect(QRectF(x, 7, 5, 3), QColor(5, 10, 6));
    p.end();
    key_outside(image, shape, white);
    return image;
}

QImage make_scroll_arrow(bool down, bool lit) {
    QImage image = new_image(20, 20, QColor(16, 30, 20));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(10, 10);
    QPainterPath disc;
    disc.addEllipse(centre, 9, 9);
    QRadialGradient face(centre - QPointF(3, 3), 12);
    face.setColorAt(0, lit ? QColor(170, 255, 180) : QColor(60, 96, 70));
    face.setColorAt(1, lit ? QColor(30, 160, 70) : QColor(14, 28, 18));
    p.fillPath(disc, face);
    p.setPen(QPen(lit ? QColor(220, 255, 220) : palette::leaf, 1.2));
    p.drawPath(disc);
    QPainterPath arrow;
    const double tip = down ? 14.5 : 5.5, base = down ? 7 : 13;
    arrow.moveTo(10, tip);
    arrow.lineTo(15, base);
    arrow.lineTo(5, base);
    arrow.closeSubpath();
    p.fillPath(arrow, lit ? QColor(6, 30, 12) : palette::glow);
    p.end();
    QPainterPath inside;
    inside.addEllipse(centre, 9.9, 9.9);
    key_outside(image, inside, white);
    return image;
}

QImage make_cancel_button() {
    QImage image = new_image(80, 20, QColor(0, 0, 0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0.5, 1.5, 79, 17), 4, 4);
    QLinearGradient face(0, 1, 0, 19);
    face.setColorAt(0, QColor(70, 34, 28));
    face.setColorAt(1, QColor(30, 10, 8));
    p.fillPath(shape, face);
    p.setPen(QPen(QColor(230, 110, 90), 1));
    p.drawPath(shape);
    p.setPen(QPen(QColor(255, 200, 180), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 6), QPointF(15, 13));
    p.drawLine(QPointF(15, 6), QPointF(8, 13));
    p.setFont(sans_font(11, true));
    p.setPen(QColor(255, 226, 214));
    p.drawText(QRect(20, 1, 58, 18), Qt::AlignCenter, QStringLiteral("ANULUJ"));
    p.end();
    return image;
}

} // namespace kelvox::demo
