#include "tools/make_demo_disc/painting.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <algorithm>

namespace kelvox::demo {

QImage new_image(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    auto channel = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
    return {channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue())};
}

void fill_vertical(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(rect, gradient);
}

void draw_bevel(QPainter& painter, const QRect& rect, const QColor& light, const QColor& dark, int width) {
    for (int i = 0; i < width; ++i) {
        const QRect r = rect.adjusted(i, i, -i, -i);
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), light);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), light);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), dark);
        painter.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 1), dark);
    }
}

QFont sans_font(int pixel_size, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QFont mono_font(int pixel_size, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    return font;
}

void add_grain(QImage& image, int strength, quint32 seed) {
    QRandomGenerator random(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int delta = random.bounded(-strength, strength + 1);
            auto shift = [delta](int c) { return std::clamp(c + delta, 1, 254); };
            row[x] = qRgb(shift(qRed(row[x])), shift(qGreen(row[x])), shift(qBlue(row[x])));
        }
    }
}

void key_outside(QImage& image, const QPainterPath& inside, QRgb key) {
    key &= 0xFFFFFFu;
    // One step away from the key, in whichever direction the red channel has room for.
    const QRgb nudged = qRed(key) > 0 ? key - 0x010000u : key + 0x010101u;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!inside.contains(QPointF(x + 0.5, y + 0.5)))
                row[x] = key | 0xFF000000u;
            else if ((row[x] & 0xFFFFFFu) == key)
                row[x] = nudged | 0xFF000000u;
        }
    }
}

void draw_glow(QPainter& painter, const QPointF& centre, double radius, const QColor& colour) {
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0, colour);
    QColor edge = colour;
    edge.setAlpha(0);
    gradient.setColorAt(1, edge);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(centre, radius, radius);
}

} // namespace kelvox::demo
