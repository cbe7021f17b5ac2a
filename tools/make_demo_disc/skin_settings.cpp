// The settings drawer. Collapsed, only its left 22 columns show: a grip with the word for settings
// running up it. Open, it shows the options, each caption on the row the drawer reacts to, with a
// pale box at x 127 to 131 where the program draws and erases the tick marks. Black is left out.
#include "tools/make_demo_disc/painting.h"
#include "tools/make_demo_disc/settings_rows.h"
#include "tools/make_demo_disc/skin.h"

namespace kelvox::demo {

namespace {

constexpr int drawer_width = 142;
constexpr int drawer_height = 394;
constexpr int caption_right = 121;

QPainterPath drawer_shape() {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0.5, 0.5, drawer_width + 12, drawer_height - 1), 9, 9);
    QPainterPath cell;
    cell.addRect(QRectF(0, 0, drawer_width, drawer_height));
    return shape.intersected(cell);
}

void paint_grip(QPainter& p) {
    fill_vertical(p, QRect(1, 1, 21, drawer_height - 2), QColor(40, 66, 48), QColor(16, 28, 20));
    p.fillRect(QRect(21, 8, 1, drawer_height - 16), QColor(6, 12, 8));
    p.fillRect(QRect(22, 8, 1, drawer_height - 16), QColor(70, 110, 80));
    for (int y = 14; y < 50; y += 12) {
        QPainterPath chevron;
        chevron.moveTo(14, y);
        chevron.lineTo(8, y + 4);
        chevron.lineTo(14, y + 8);
        p.setPen(QPen(palette::glow, 1.6));
        p.drawPath(chevron);
    }
    p.save();
    p.translate(16, 300);
    p.rotate(-90);
    p.setFont(sans_font(11, true));
    p.setPen(palette::mint);
    p.drawText(QRect(0, -11, 240, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("USTAWIENIA"));
    p.restore();
}

void paint_checkbox(QPainter& p, int mark_line) {
    const QRect box(125, mark_line - 2, 9, 10);
    p.fillRect(box, QColor(6, 14, 8));
    draw_bevel(p, box, QColor(8, 16, 10), QColor(120, 200, 136));
    p.fillRect(QRect(126, mark_line - 1, 7, 8), palette::mint);
}

void paint_caption(QPainter& p, const SettingsRow& row) {
    p.setFont(sans_font(11, true));
    const int middle = (row.top + row.bottom) / 2;
    p.setPen(QColor(4, 10, 6));
    p.drawText(QRect(row.left - 20, middle - 7 + 1, caption_right - row.left + 21, 14),
               Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(row.caption));
    p.setPen(QColor(214, 246, 212));
    p.drawText(QRect(row.left - 20, middle - 7, caption_right - row.left + 20, 14),
               Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(row.caption));
}

void paint_preview(QPainter& p, const QImage& wallpaper, int top) {
    const QRect frame(34, top, 90, 68);
    p.fillRect(frame, QColor(6, 12, 8));
    p.drawImage(frame.adjusted(1, 1, -1, -1),
                wallpaper.scaled(88, 66, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    draw_bevel(p, frame, QColor(6, 12, 8), QColor(110, 180, 124));
}

// The row reacts from x 13, but the button starts right of the grip so the collapsed tab stays clean.
constexpr int save_left = 26;

void paint_save_button(QPainter& p, const SettingsRow& row) {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(save_left + 0.5, row.top - 2.5, 111, row.bottom - row.top + 5), 5, 5);
    QLinearGradient face(0, row.top - 3, 0, row.bottom + 3);
    face.setColorAt(0, QColor(120, 230, 140));
    face.setColorAt(0.5, QColor(46, 150, 76));
    face.setColorAt(1, QColor(20, 90, 44));
    p.fillPath(shape, face);
    p.setPen(QPen(QColor(210, 255, 214), 1));
    p.drawPath(shape);
    p.setFont(sans_font(10, true));
    p.setPen(QColor(4, 24, 10));
    p.drawText(QRect(save_left, row.top - 2, 112, row.bottom - row.top + 5), Qt::AlignCenter,
               QString::fromUtf8(row.caption));
}

void paint_emblem(QPainter& p) {
    // Between the sound row and the save button: a little level meter and the disc's name.
    const int heights[] = {6, 11, 16, 12, 19, 14, 9, 15, 7, 4};
    for (int i = 0; i < 10; ++i) {
        const int h = heights[i];
        QLinearGradient bar(0, 330 - h, 0, 330);
        bar.setColorAt(0, palette::glow);
        bar.setColorAt(1, QColor(20, 90, 44));
        p.fillRect(QRect(40 + i * 8, 330 - h, 6, h), bar);
    }
    p.setFont(sans_font(9, true));
    p.setPen(QColor(120, 190, 134));
    p.drawText(QRect(26, 334, 112, 14), Qt::AlignCenter, QStringLiteral("KELVOX COVER CD"));
}

} // namespace

QImage make_settings_picture(const QImage& wallpaper1, const QImage& wallpaper2) {
    QImage image = new_image(drawer_width, drawer_height, QColor(0, 0, 0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = drawer_shape();
    QLinearGradient face(0, 0, drawer_width, 0);
    face.setColorAt(0, QColor(20, 36, 26));
    face.setColorAt(1, QColor(10, 20, 14));
    p.fillPath(shape, face);
    p.setPen(QPen(QColor(92, 150, 104), 1));
    p.drawPath(shape);
    paint_grip(p);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Thin rules between the groups of options.
    for (int y : {64, 268, 292})
        p.fillRect(QRect(28, y, 108, 1), QColor(46, 90, 58));
    paint_preview(p, wallpaper1, 84);
    paint_preview(p, wallpaper2, 174);
    p.setRenderHint(QPainter::Antialiasing);
    paint_emblem(p);
    for (const SettingsRow& row : settings_rows) {
        if (row.mark_line < 0) {
            paint_save_button(p, row);
            continue;
        }
        paint_caption(p, row);
        paint_checkbox(p, row.mark_line);
    }
    p.end();
    key_outside(image, shape, qRgb(0, 0, 0));
    return image;
}

} // namespace kelvox::demo
