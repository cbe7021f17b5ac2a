// The two background pictures: an aurora of green ribbons over a dark horizon grid, and an emerald
// circuit board with glowing junctions. Both are drawn for 800 x 600 and kept dark so the panels read.
#include "tools/make_demo_disc/painting.h"
#include "tools/make_demo_disc/skin.h"

#include <QRandomGenerator>

#include <cmath>

namespace kelvox::demo {

namespace {

constexpr int width = 800;
constexpr int height = 600;
// Painted this much wider, then folded back onto the left edge (see fold_seam).
constexpr int overlap = 160;
constexpr int painted_width = width + overlap;

void paint_sky(QPainter& p, const QColor& centre_colour, const QPointF& centre) {
    QRadialGradient sky(centre, 700);
    sky.setColorAt(0, centre_colour);
    sky.setColorAt(0.55, QColor(6, 18, 12));
    sky.setColorAt(1, QColor(2, 5, 3));
    p.fillRect(QRect(0, 0, painted_width, height), sky);
}

void paint_ribbon(QPainter& p, double base, double amplitude, double phase, const QColor& colour) {
    QPainterPath ribbon;
    ribbon.moveTo(0, base);
    for (int x = 0; x <= painted_width; x += 8)
        ribbon.lineTo(x,
                      base + amplitude * std::sin(x / 130.0 + phase) + 18 * std::sin(x / 47.0 + phase * 2));
    for (int x = painted_width; x >= 0; x -= 8)
        ribbon.lineTo(x, base + 60 + amplitude * 0.8 * std::sin(x / 150.0 + phase + 0.6));
    ribbon.closeSubpath();
    QLinearGradient fill(0, base - amplitude, 0, base + 60 + amplitude);
    QColor top = colour, bottom = colour;
    top.setAlpha(0);
    fill.setColorAt(0, top);
    fill.setColorAt(0.45, colour);
    bottom.setAlpha(0);
    fill.setColorAt(1, bottom);
    p.fillPath(ribbon, fill);
}

void paint_horizon_grid(QPainter& p) {
    const double horizon = 430, vanish_x = 470;
    p.setPen(QPen(QColor(40, 160, 80, 70), 1));
    for (int i = -14; i <= 14; ++i)
        p.drawLine(QPointF(vanish_x, horizon), QPointF(vanish_x + i * 90, height));
    for (int i = 1; i < 10; ++i) {
        const double y = horizon + (height - horizon) * (i * i) / 81.0;
        p.drawLine(QPointF(0, y), QPointF(painted_width, y));
    }
    QLinearGradient haze(0, horizon - 40, 0, horizon + 20);
    haze.setColorAt(0, QColor(60, 200, 110, 0));
    haze.setColorAt(0.7, QColor(60, 200, 110, 60));
    haze.setColorAt(1, QColor(60, 200, 110, 0));
    p.fillRect(QRectF(0, horizon - 40, painted_width, 60), haze);
}

void paint_stars(QPainter& p, quint32 seed, int count) {
    QRandomGenerator random(seed);
    for (int i = 0; i < count; ++i) {
        const QPointF at(random.bounded(painted_width), random.bounded(400));
        const int a = 40 + random.bounded(160);
        p.setPen(QPen(QColor(200, 255, 210, a), random.bounded(3) == 0 ? 1.6 : 1));
        p.drawPoint(at);
    }
}

void paint_trace(QPainter& p, QRandomGenerator& random) {
    QPointF at(random.bounded(painted_width), random.bounded(height));
    QPainterPath path(at);
    for (int step = 0; step < 5; ++step) {
        const int direction = random.bounded(4);
        const double length = 30 + random.bounded(120);
        const double dx = direction == 0 ? length : direction == 1 ? -length : 0;
        const double dy = direction == 2 ? length : direction == 3 ? -length : 0;
        // Traces turn through 45-degree corners like the copper of a real board.
        at += QPointF(dx, dy) + QPointF(dy != 0 ? 14 : 0, dx != 0 ? 14 : 0);
        path.lineTo(at);
    }
    const int a = 50 + random.bounded(90);
    p.setPen(QPen(QColor(50, 190, 100, a / 3), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(QColor(90, 240, 140, a), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    draw_glow(p, at, 10, QColor(120, 255, 160, a + 40));
    p.setBrush(QColor(200, 255, 210, a + 60));
    p.drawEllipse(at, 2.2, 2.2);
    p.setBrush(Qt::NoBrush);
}

// Darkens the top and bottom only: a side vignette would show as a seam where the picture repeats.
void paint_vignette(QPainter& p) {
    QLinearGradient vignette(0, 0, 0, height);
    vignette.setColorAt(0, QColor(0, 0, 0, 150));
    vignette.setColorAt(0.25, QColor(0, 0, 0, 0));
    vignette.setColorAt(0.8, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 170));
    p.fillRect(QRect(0, 0, painted_width, height), vignette);
}

// On a screen wider than 800 the menu draws the picture again from x 800. The strip painted beyond
// x 800 is cross-faded into the left edge, so column 0 continues column 799 and the repeat shows no seam.
QImage fold_seam(const QImage& painted) {
    QImage image = painted.copy(0, 0, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < overlap; ++x) {
            const double t = static_cast<double>(x) / overlap;
            image.setPixel(x, y,
                           mix(QColor(painted.pixel(width + x, y)), QColor(painted.pixel(x, y)), t).rgb());
        }
    return image;
}

} // namespace

QImage make_wallpaper_aurora() {
    QImage painted = new_image(painted_width, height, QColor(0, 0, 0));
    QPainter p(&painted);
    p.setRenderHint(QPainter::Antialiasing);
    paint_sky(p, QColor(20, 70, 44), QPointF(520, 260));
    paint_stars(p, 7, 260);
    paint_ribbon(p, 110, 40, 0.3, QColor(50, 210, 120, 90));
    paint_ribbon(p, 180, 55, 2.1, QColor(30, 180, 150, 70));
    paint_ribbon(p, 250, 35, 4.0, QColor(110, 240, 120, 60));
    // A pale low moon behind the haze.
    draw_glow(p, QPointF(640, 330), 120, QColor(120, 255, 170, 60));
    p.setBrush(QColor(190, 240, 200, 150));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(640, 330), 34, 34);
    paint_horizon_grid(p);
    paint_vignette(p);
    p.end();
    QImage image = fold_seam(painted);
    add_grain(image, 2, 21);
    return image;
}

QImage make_wallpaper_circuit() {
    QImage painted = new_image(painted_width, height, QColor(0, 0, 0));
    QPainter p(&painted);
    p.setRenderHint(QPainter::Antialiasing);
    paint_sky(p, QColor(10, 54, 40), QPointF(300, 220));
    // Faint hexagon mesh under the copper.
    p.setPen(QPen(QColor(40, 120, 80, 40), 1));
    const double r = 26, w = r * std::sqrt(3.0);
    for (int row = 0; row * r * 1.5 < height + r; ++row) {
        for (int col = 0; col * w < painted_width + w; ++col) {
            const QPointF c(col * w + (row % 2) * w / 2, row * r * 1.5);
            QPolygonF hexagon;
            for (int k = 0; k < 6; ++k) {
                const double angle = M_PI / 180 * (60 * k + 30);
                hexagon << c + QPointF(r * std::cos(angle), r * std::sin(angle));
            }
            p.drawPolygon(hexagon);
        }
    }
    QRandomGenerator random(4242);
    for (int i = 0; i < 46; ++i)
        paint_trace(p, random);
    // Two big soft lights give the board depth.
    draw_glow(p, QPointF(560, 380), 260, QColor(40, 200, 120, 45));
    draw_glow(p, QPointF(150, 120), 200, QColor(60, 220, 150, 35));
    paint_vignette(p);
    p.end();
    QImage image = fold_seam(painted);
    add_grain(image, 2, 22);
    return image;
}

} // namespace kelvox::demo
