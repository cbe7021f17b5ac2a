// The generator's pieces on their own: left-out colours, lossless bitmaps, the catalogue texts read back
// by the menu's reader, and pictures that are not flat.
#include "platform/text_codec.h"
#include "tests/catalogue/catalogue_wiring.h"
#include "tests/demo/gui_application.h"
#include "tools/make_demo_disc/catalogue_files.h"
#include "tools/make_demo_disc/image_files.h"
#include "tools/make_demo_disc/painting.h"
#include "tools/make_demo_disc/screenshots.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace kelvox {
namespace {

uint32_t rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

TEST(KeyOutside, OutsideBecomesTheKeyAndTheKeyInsideIsNudged) {
    struct Case {
        QRgb key, nudged;
    };
    for (const Case& c : {Case{0xFFFFFF, 0xFEFFFF}, Case{0x000000, 0x010101}, Case{0x8D8D8D, 0x8C8D8D}}) {
        SCOPED_TRACE(c.key);
        QImage image = demo::new_image(10, 10, QColor(20, 40, 60));
        image.setPixel(5, 5, c.key | 0xFF000000u);
        QPainterPath inside;
        inside.addRect(2, 2, 6, 6);
        demo::key_outside(image, inside, c.key);
        EXPECT_EQ(rgb(image, 0, 0), c.key);
        EXPECT_EQ(rgb(image, 9, 9), c.key);
        EXPECT_EQ(rgb(image, 8, 5), c.key); // centre 8.5 lies outside x 2..8
        EXPECT_EQ(rgb(image, 5, 5), c.nudged);
        EXPECT_EQ(rgb(image, 2, 2), 0x14283Cu);
    }
}

TEST(Grain, StaysClearOfPureBlackAndWhite) {
    QImage image = demo::new_image(64, 64, QColor(0, 0, 0));
    image.setPixel(3, 3, 0xFFFFFFFFu);
    demo::add_grain(image, 3, 1);
    std::set<uint32_t> colours;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            colours.insert(rgb(image, x, y));
            ASSERT_NE(rgb(image, x, y), 0u);
            ASSERT_NE(rgb(image, x, y), 0xFFFFFFu);
        }
    EXPECT_GT(colours.size(), 2u);
}

TEST(SaveBitmap, KeepsEveryPixelExactly) {
    test::ensure_gui_application();
    QTemporaryDir dir;
    QImage image = demo::new_image(7, 3, QColor(0, 0, 0)); // odd width: rows are padded in the file
    const QRgb colours[] = {0xFFFFFF, 0x8D8D8D, 0xB4FDB8, 0x000000, 0x010203, 0x808080, 0xFEFEFE};
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 3; ++y)
            image.setPixel(x, y, colours[(x + y) % 7] | 0xFF000000u);
    const QString path = dir.path() + "/a.bmp";
    demo::save_bitmap(image, path);
    const QImage back = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), image.size());
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(rgb(back, x, y), colours[(x + y) % 7]) << x << "," << y;
    EXPECT_THROW(demo::save_bitmap(image, dir.path() + "/missing/dir/a.bmp"), std::runtime_error);
}

demo::DemoEntry sample_entry(const QString& directory, const QString& requirements, int pictures) {
    return {QString::fromUtf8("Żółw łowca"),
            directory,
            demo::EntryKind::program,
            QString::fromUtf8("Żółw łowca"),
            QStringLiteral("Gra akcji z widokiem z perspektywy pierwszej osoby"),
            requirements,
            QStringLiteral("DEMO"),
            demo::Scene::space,
            pictures,
            QSize(320, 240)};
}

test::Menu& read(test::Menu& menu, const QByteArray& file) {
    menu.run(decode_disc_lines(file));
    return menu;
}

TEST(CatalogueFiles, MenuReaderGetsEveryEntryWithItsOwnFile) {
    const std::vector<demo::DemoSection> sections = {
        {QString::fromUtf8("Gry zręcznościowe"),
         QStringLiteral("a"),
         {sample_entry("gry\\a", "", 0), sample_entry("gry\\b", "", 0)}},
        {QStringLiteral("Puste"), QStringLiteral("b"), {}},
        {QStringLiteral("Programy"), QStringLiteral("c"), {sample_entry("prog\\c", "", 0)}},
    };
    test::Menu menu;
    read(menu, demo::catalogue_xml(sections));
    EXPECT_EQ(menu.table(),
              QStringList({
                  QString::fromUtf8("Gry zręcznościowe: (Żółw łowca, gry\\a, gry\\a\\instaluj.exe) "
                                    "(Żółw łowca, gry\\b, gry\\b\\instaluj.exe)"),
                  "Puste:",
                  QString::fromUtf8("Programy: (Żółw łowca, prog\\c, prog\\c\\instaluj.exe)"),
              }));
    EXPECT_TRUE(menu.dropped.isEmpty());
}

TEST(CatalogueFiles, DescriptionReadsBackWithRequirementsOnlyWhenGiven) {
    struct Case {
        QString requirements;
        int pictures;
        int requirement_lines;
    };
    for (const Case& c : {Case{"", 0, 0}, Case{"Windows 95/98, DirectX 7.0, 64 MB RAM", 3, 3}}) {
        test::Menu menu;
        std::vector<QString> first_pictures;
        menu.description.OnLoadPicture = [&](const QString& file) { first_pictures.push_back(file); };
        read(menu, demo::description_xml(sample_entry("gry\\zolw", c.requirements, c.pictures)));
        const EntryDescription& d = menu.description;
        EXPECT_EQ(d.entry_title, QString::fromUtf8("Żółw łowca"));
        EXPECT_EQ(d.description_lines,
                  QStringList({"Gra akcji z widokiem z", "perspektywy pierwszej", "osoby"}));
        EXPECT_EQ(d.requirement_lines.size(), c.requirement_lines);
        ASSERT_EQ(d.picture_names.size(), c.pictures);
        for (int i = 0; i < c.pictures; ++i)
            EXPECT_EQ(d.picture_names[i], QStringLiteral("gry\\zolw\\ekran%1.jpg").arg(i + 1));
        EXPECT_EQ(first_pictures.size(), c.pictures > 0 ? 1u : 0u);
        EXPECT_EQ(d.entry_type, "DEMO");
    }
}

TEST(CatalogueFiles, RefusesTextsTheMenuWouldMisread) {
    // The reader decodes no entities and joins lines, and the file is Windows-1250.
    for (const char* bad : {"Tom & Jerry", "a <b> c", "dwie\nlinie", "Москва"}) {
        demo::DemoEntry entry = sample_entry("gry\\x", "", 0);
        entry.description = QString::fromUtf8(bad);
        EXPECT_THROW(demo::description_xml(entry), std::invalid_argument) << bad;
    }
    const std::vector<demo::DemoSection> sections = {
        {QStringLiteral("Gry"), QStringLiteral("linia\r\ndruga"), {}}};
    EXPECT_THROW(demo::ticker_text(sections), std::invalid_argument);
}

TEST(Screenshots, EverySceneIsBusyAndVariesWithItsSeed) {
    test::ensure_gui_application();
    using demo::Scene;
    for (Scene scene :
         {Scene::space, Scene::racing, Scene::strategy, Scene::platformer, Scene::dungeon, Scene::underwater,
          Scene::board, Scene::app_window, Scene::chart, Scene::installer, Scene::player}) {
        SCOPED_TRACE(static_cast<int>(scene));
        const QImage first = demo::paint_screenshot(scene, QSize(400, 300), 1, "Test");
        const QImage second = demo::paint_screenshot(scene, QSize(400, 300), 2, "Test");
        ASSERT_EQ(first.size(), QSize(400, 300));
        std::set<uint32_t> colours;
        for (int y = 0; y < 300; y += 3)
            for (int x = 0; x < 400; x += 3)
                colours.insert(rgb(first, x, y));
        EXPECT_GT(colours.size(), 60u);
        EXPECT_NE(first, second);
    }
}

} // namespace
} // namespace kelvox
