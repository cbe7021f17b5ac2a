#include "tools/make_demo_disc/demo_disc.h"

#include "tools/make_demo_disc/catalogue_files.h"
#include "tools/make_demo_disc/disc_content.h"
#include "tools/make_demo_disc/entry_files.h"
#include "tools/make_demo_disc/image_files.h"
#include "tools/make_demo_disc/screenshots.h"
#include "tools/make_demo_disc/skin.h"

namespace kelvox::demo {

namespace {

void write_entry(const QString& root, const DemoEntry& entry) {
    const QString dir = on_disc(root, entry.directory);
    make_directory(dir);
    write_file(dir + QStringLiteral("/info.xml"), description_xml(entry));
    const quint32 seed = qHash(entry.directory);
    for (int i = 0; i < entry.picture_count; ++i) {
        save_jpeg(paint_screenshot(entry.scene, entry.picture_size, seed + 977u * i, entry.title),
                  on_disc(root, entry_picture_path(entry, i)));
    }
    write_entry_file(entry, dir);
}

} // namespace

QString on_disc(const QString& root, const QString& disc_path) {
    QString path = disc_path;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return root + QLatin1Char('/') + path;
}

void make_demo_disc(const QString& root) {
    const QString menu = root + QStringLiteral("/menu");
    make_directory(menu);
    write_skin_bitmaps(menu);
    const auto& sections = demo_sections();
    write_file(menu + QStringLiteral("/index.xml"), catalogue_xml(sections));
    write_file(menu + QStringLiteral("/reklamy.txt"), ticker_text(sections));
    for (const DemoSection& section : sections)
        for (const DemoEntry& entry : section.entries)
            write_entry(root, entry);
}

} // namespace kelvox::demo
