#include "tools/kelvox_check/skin_check.h"

#include "app/skin_files.h"
#include "platform/bitmap.h"
#include "platform/disc_file.h"
#include "platform/disc_path.h"
#include "platform/files.h"
#include "platform/platform_error.h"

#include <QFileInfo>
#include <QMap>
#include <QSize>

#include <limits>

namespace kelvox::check {

namespace {

// The largest size any use of the file relies on, by file name; lista_g.bmp serves two uses.
QMap<QString, QSize> bitmaps_relied_on() {
    QMap<QString, QSize> sizes;
    const auto need = [&](const char* name, int width, int height) {
        QSize& size = sizes[QString::fromLatin1(name)];
        size = size.expandedTo(QSize(width, height));
    };
    for (const auto& file : skin_bitmaps)
        need(file.name, file.min_width, file.min_height);
    for (const auto& file : skin_image_list_files)
        need(file.name, file.cell_width, file.cell_height);
    for (const char* wallpaper : skin_wallpapers)
        need(wallpaper, 1, 1);
    return sizes;
}

void check_bitmap(DiscReport& report, const QString& name, QSize relied_on) {
    const QString path = skin_path(name.toLatin1().constData());
    if (!QFileInfo::exists(native_path(path))) {
        report.problem(path, QStringLiteral("missing skin bitmap"));
        return;
    }
    // The menu's own loader, so the checker refuses exactly what the menu would.
    Bitmap picture;
    try {
        picture.LoadFromFile(path);
    } catch (const PlatformError& error) {
        report.problem(path, QStringLiteral("not a valid bitmap (%1)").arg(reason_of(error)));
        return;
    }
    if (picture.Width() < relied_on.width() || picture.Height() < relied_on.height())
        report.problem(path, QStringLiteral("%1 × %2 pixels, smaller than the %3 × %4 the menu draws from it")
                                 .arg(picture.Width())
                                 .arg(picture.Height())
                                 .arg(relied_on.width())
                                 .arg(relied_on.height()));
}

void check_present(DiscReport& report, const char* name, qint64 max_bytes, const QString& consequence) {
    const QString path = skin_path(name);
    if (!QFileInfo::exists(native_path(path)) || file_size(path) == 0) {
        report.problem(path, QStringLiteral("missing or empty: %1").arg(consequence));
        return;
    }
    try {
        checked_disc_file(path, max_bytes);
    } catch (const DiscFileError& error) {
        report.problem(path, QStringLiteral("%1: %2").arg(reason_of(error), consequence));
    }
}

} // namespace

void check_skin(DiscReport& report) {
    const QMap<QString, QSize> sizes = bitmaps_relied_on();
    for (auto it = sizes.begin(); it != sizes.end(); ++it)
        check_bitmap(report, it.key(), it.value());
    check_present(report, skin_font_file, kFontFileCap,
                  QStringLiteral("the ticker falls back to another font, with a message"));
    // The music is played as a stream, never read whole: no cap.
    check_present(report, skin_music_file, std::numeric_limits<qint64>::max(),
                  QStringLiteral("the menu starts without music, with a message"));
}

} // namespace kelvox::check
