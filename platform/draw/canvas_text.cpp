#include "platform/canvas.h"

#include "platform/draw/painter_font.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace kelvox {

namespace {

QColor qt_colour(Colour c) {
    return QColor(colour_red(c), colour_green(c), colour_blue(c));
}

// Qt shapes a text in items of at most this many characters, and the cost per character of measuring
// a text grows with its length: a megabyte measured whole takes three times as long as its items
// measured one by one.
constexpr qsizetype kQtItemLength = 4096;
// Qt measures a text up to its first string separator.
constexpr QChar kStringSeparator(0x9C);

bool is_bidirectional(QChar c) {
    switch (c.direction()) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirAN:
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirPDF:
    case QChar::DirLRI:
    case QChar::DirRLI:
    case QChar::DirFSI:
    case QChar::DirPDI:
        return true;
    default:
        return false;
    }
}

// Whether Qt cuts the text into items only every kQtItemLength characters, so that measuring those
// pieces apart gives its width to the last fraction: one direction, one script (the common and inherited
// characters join it), nothing Qt lays out on its own (tabs, controls, separators, objects), no
// surrogate pairs.
bool lays_out_in_even_items(QStringView text) {
    QChar::Script script = QChar::Script_Common;
    for (const QChar c : text) {
        if (c.isSurrogate() || c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter || is_bidirectional(c))
            return false;
        const QChar::Script own = c.script();
        if (own <= QChar::Script_Common)
            continue;
        if (script == QChar::Script_Common)
            script = own;
        else if (own != script)
            return false;
    }
    return true;
}

} // namespace

void Canvas::TextOut(int x, int y, const QString& text) {
    if (target_->isNull() || text.isEmpty())
        return;
    const QFont font_used = painter_font(font);
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
    painter.setFont(painter_font(font));
    const QFontMetricsF metrics(painter.fontMetrics());
    if (brush.style == BrushStyle::Solid)
        painter.fillRect(QRectF(x, y, metrics.horizontalAdvance(text), metrics.height()),
                         qt_colour(brush.colour));
    painter.setPen(qt_colour(font.colour));
    painter.drawText(QPointF(x, y + metrics.ascent()), text);
}

qreal Canvas::ExactTextWidth(const QString& text) const {
    const QFontMetricsF metrics(painter_font(font), target_);
    if (text.size() <= kQtItemLength)
        return metrics.horizontalAdvance(text);
    const qsizetype separator = text.indexOf(kStringSeparator);
    const QStringView measured = QStringView(text).left(separator < 0 ? text.size() : separator);
    if (!lays_out_in_even_items(measured))
        return metrics.horizontalAdvance(text);
    qreal width = 0;
    for (qsizetype start = 0; start < measured.size(); start += kQtItemLength)
        width += metrics.horizontalAdvance(measured.mid(start, kQtItemLength).toString());
    return width;
}

int Canvas::TextWidth(const QString& text) const {
    return QFontMetrics(painter_font(font), target_).horizontalAdvance(text);
}

int Canvas::TextHeight(const QString& text) const {
    (void)text; // one cell height for every text of the font
    return QFontMetrics(painter_font(font), target_).height();
}

} // namespace kelvox
