#pragma once
// Small drawing helpers shared by the skin pieces and the entry pictures.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRect>

namespace kelvox::demo {

// The house colours of the skin: near-black greens with a bright phosphor accent.
namespace palette {
inline const QColor ink{8, 14, 10};
inline const QColor deep{14, 26, 18};
inline const QColor dark{22, 40, 28};
inline const QColor moss{38, 74, 50};
inline const QColor leaf{46, 140, 74};
inline const QColor glow{92, 240, 130};
inline const QColor mint{184, 253, 180};
inline const QColor rail_top{222, 236, 220};
inline const QColor rail_bottom{160, 186, 164};
} // namespace palette

QImage new_image(int width, int height, const QColor& fill);

QColor mix(const QColor& a, const QColor& b, double t);

void fill_vertical(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom);

// A bevel of the given width inside rect: light on the top and left, dark on the bottom and right.
void draw_bevel(QPainter& painter, const QRect& rect, const QColor& light, const QColor& dark, int width = 1);

QFont sans_font(int pixel_size, bool bold = false);
QFont mono_font(int pixel_size, bool bold = false);

// Adds a little noise to every channel so large areas do not look flat; channels stay in 1..254.
void add_grain(QImage& image, int strength, quint32 seed);

// Makes every pixel whose centre lies outside `inside` exactly `key`, and nudges pixels inside that
// happen to be `key` by one step, so only the outside is left out when the picture is drawn.
void key_outside(QImage& image, const QPainterPath& inside, QRgb key);

// A soft round light: a radial gradient from `colour` at the centre to transparent at `radius`.
void draw_glow(QPainter& painter, const QPointF& centre, double radius, const QColor& colour);

} // namespace kelvox::demo
