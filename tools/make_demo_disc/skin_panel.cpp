// The detail panel's relief. The program tints the background behind the panel with it: grey 128 leaves
// the background alone, darker greys sink it, lighter greys raise it. Raised plates carry the black
// title and the run button's black label; sunken wells carry the pale description and requirements;
// a raised frame holds the picture, with the previous and next arrows on its sides.
#include "tools/make_demo_disc/painting.h"
#include "tools/make_demo_disc/skin.h"

namespace kelvox::demo {

namespace {

constexpr int neutral = 128;

QColor level(int v) {
    return {v, v, v};
}

// A plate standing out of (or, with sunken, pressed into) the background.
void relief_plate(QPainter& p, const QPainterPath& shape, int face, bool sunken, double rim = 2) {
    p.fillPath(shape, level(face));
    const QRectF b = shape.boundingRect();
    QLinearGradient edge(b.topLeft(), b.bottomRight());
    edge.setColorAt(0, level(sunken ? 40 : 240));
    edge.setColorAt(0.5, level(face));
    edge.setColorAt(1, level(sunken ? 200 : 50));
    p.setPen(QPen(QBrush(edge), rim));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
}

QPainterPath rounded(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void relief_arrow(QPainter& p, double tip_x, double base_x) {
    QPainterPath arrow;
    arrow.moveTo(tip_x, 170.5);
    arrow.lineTo(base_x, 165);
    arrow.lineTo(base_x, 176);
    arrow.closeSubpath();
    p.fillPath(arrow, level(250));
    p.setPen(QPen(level(60), 1));
    p.drawPath(arrow);
}

// Lighter letters pressed out of the background.
void relief_label(QPainter& p, const QPointF& at, const QString& text) {
    p.setFont(sans_font(10, true));
    p.setPen(level(60));
    p.drawText(at + QPointF(1, 1), text);
    p.setPen(level(225));
    p.drawText(at, text);
}

} // namespace

QImage make_panel_relief() {
    QImage image = new_image(550, 350, level(neutral));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A fine outline round the whole panel, with a bolt in each corner.
    p.setPen(QPen(level(200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(3.5, 3.5, 543, 343), 12, 12);
    p.setPen(QPen(level(60), 1));
    p.drawRoundedRect(QRectF(4.5, 4.5, 543, 343), 12, 12);
    for (const QPointF& bolt : {QPointF(14, 14), QPointF(536, 14), QPointF(14, 336), QPointF(536, 336)}) {
        p.setPen(QPen(level(50), 1));
        p.setBrush(level(215));
        p.drawEllipse(bolt, 3.5, 3.5);
    }
    // Title plate: the title is written black at (80, 24).
    relief_plate(p, rounded(QRectF(68.5, 16.5, 272, 28), 6), 205, false);
    // Picture frame round (82, 82)-(322, 262), its sides wide enough for the arrows.
    QPainterPath frame = rounded(QRectF(68.5, 68.5, 267, 203), 8);
    QPainterPath window;
    window.addRect(QRectF(80, 80, 244, 184));
    relief_plate(p, frame.subtracted(window), 168, false);
    p.setPen(QPen(level(30), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(80, 80, 244, 184));
    relief_arrow(p, 72.5, 80);
    relief_arrow(p, 331.5, 324);
    // The slot under the frame where the picture numbers are written.
    relief_plate(p, rounded(QRectF(140.5, 267.5, 124, 22), 5), 80, true);
    // Run button: the type label is written black and bold, centred on x 198 at y 320.
    relief_plate(p, rounded(QRectF(131.5, 313.5, 133, 25), 7), 212, false, 2.5);
    p.setPen(QPen(level(150), 1));
    p.drawLine(QPointF(138, 316.5), QPointF(258, 316.5));
    // Description well: lines at (371, 34 + 16i).
    relief_label(p, QPointF(364, 20), QStringLiteral("opis"));
    relief_plate(p, rounded(QRectF(359.5, 27.5, 180, 220), 6), 62, true);
    // Requirements well with a slanted left side, since each line starts 3 pixels further left.
    QPainterPath requirements;
    requirements.moveTo(361.5, 249.5);
    requirements.lineTo(539.5, 249.5);
    requirements.lineTo(539.5, 339.5);
    requirements.lineTo(338.5, 339.5);
    requirements.closeSubpath();
    relief_plate(p, requirements, 58, true);
    // A groove joining the title plate to the description well.
    p.setPen(QPen(level(70), 1));
    p.drawLine(QPointF(341, 29.5), QPointF(358, 29.5));
    p.setPen(QPen(level(190), 1));
    p.drawLine(QPointF(341, 30.5), QPointF(358, 30.5));
    p.end();
    return image;
}

} // namespace kelvox::demo
