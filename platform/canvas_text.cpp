#include "platform/canvas.h"

#include "platform/qt_font.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace kelvox {

namespace {

QColor qt_colour(Colour c) {
    return QColor(colour_red(c), colour_green(c), colour_blue(c));
}

} // namespace

void Canvas::TextOut(int x, int y, const QString& text) {
    if (target_->isNull() || text.isEmpty())
        return;
    const QFont font_used = qt_font(font);
    QPainter painter(target_);
    painter.setFont(font_used);
    const QFontMetrics metrics = painter.fontMetrics();
    if (brush.style == BrushStyle::Solid)
        painter.fillRect(x, y, metrics.horizontalAdvance(text), metrics.height(), qt_colour(brush.colour));
    painter.setPen(qt_colour(font.colour));
    painter.drawText(x, y + metrics.ascent(), text);
}

void Canvas::TextOutAt(qreal x, int y, const QString& text) {
    if (target_->isNull() || text.isEmpty())
        return;
    QPainter painter(target_);
    painter.setFont(qt_font(font));
    const QFontMetricsF metrics(painter.fontMetrics());
    if (brush.style == BrushStyle::Solid)
        painter.fillRect(QRectF(x, y, metrics.horizontalAdvance(text), metrics.height()),
                         qt_colour(brush.colour));
    painter.setPen(qt_colour(font.colour));
    painter.drawText(QPointF(x, y + metrics.ascent()), text);
}

qreal Canvas::ExactTextWidth(const QString& text) const {
    return QFontMetricsF(qt_font(font), target_).horizontalAdvance(text);
}

int Canvas::TextWidth(const QString& text) const {
    return QFontMetrics(qt_font(font), target_).horizontalAdvance(text);
}

int Canvas::TextHeight(const QString& text) const {
    (void)text; // one cell height for every text of the font
    return QFontMetrics(qt_font(font), target_).height();
}

} // namespace kelvox
