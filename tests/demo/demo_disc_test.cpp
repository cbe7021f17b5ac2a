// The generated disc against what the menu relies on: the skin files, their sizes and left-out colours,
// the places the drawer and the panel are read at, and a catalogue the menu's own reader accepts with
// every entry's description, pictures and file in place.
#include "app/skin_files.h"
#include "catalogue/catalogue_loading.h"
#include "platform/jpeg_picture.h"
#include "platform/text_codec.h"
#include "tests/catalogue/catalogue_wiring.h"
#include "tests/demo/gui_application.h"
#include "tools/make_demo_disc/demo_disc.h"
#include "tools/make_demo_disc/settings_rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace kelvox {
namespace {

class DemoDisc : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        test::ensure_gui_application();
        dir_ = new QTemporaryDir;
        ASSERT_TRUE(dir_->isValid());
        demo::make_demo_disc(dir_->path());
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override { previous_dir_ = QDir::currentPath(); }
    void TearDown() override { QDir::setCurrent(previous_dir_); }

    static QString root() { return dir_->path(); }
    static QString skin(const char* name) { return root() + "/menu/" + QLatin1String(name); }
    static QImage skin_image(const char* name) {
        return QImage(skin(name)).convertToFormat(QImage::Format_RGB32);
    }
    static QByteArray bytes_of(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The catalogue as the menu reads it, from the disc root.
    static void load(test::Menu& menu) { load_catalogue(menu.parser, menu.catalogue, root()); }

    static QTemporaryDir* dir_;
    QString previous_dir_;
};

QTemporaryDir* DemoDisc::dir_ = nullptr;

uint32_t rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

// 0x00BBGGRR as the skin tables give it, to Qt's 0xRRGGBB.
uint32_t from_windows_colour(uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

TEST_F(DemoDisc, EveryBitmapIsAPlain24BitFileAtLeastTheSizeTheMenuUses) {
    struct Expected {
        QString name;
        int width, height;
        bool exact;
    };
    std::vector<Expected> files;
    for (const SkinBitmapFile& file : skin_bitmaps)
        files.push_back({file.name, file.min_width, file.min_height, false});
    // An image-list file holds exactly one cell.
    for (const SkinImageListFile& file : skin_image_list_files)
        files.push_back({file.name, file.cell_width, file.cell_height, true});
    for (const char* wallpaper : skin_wallpapers)
        files.push_back({wallpaper, 800, 600, true});
    for (const Expected& file : files) {
        SCOPED_TRACE(file.name.toStdString());
        const QByteArray bytes = bytes_of(root() + "/menu/" + file.name);
        ASSERT_GE(bytes.size(), 54);
        EXPECT_EQ(bytes.left(2), "BM");
        EXPECT_EQ(static_cast<unsigned char>(bytes[28]) | (static_cast<unsigned char>(bytes[29]) << 8), 24);
        EXPECT_EQ(bytes[30], 0) << "compressed";
        const QImage image = QImage::fromData(bytes, "BMP");
        ASSERT_FALSE(image.isNull());
        if (file.exact) {
            EXPECT_EQ(image.size(), QSize(file.width, file.height));
        } else {
            EXPECT_GE(image.width(), file.width);
            EXPECT_GE(image.height(), file.height);
        }
    }
    // The cancel picture must fit the ticker strip and its click area.
    const QImage cancel = skin_image("cancel.bmp");
    EXPECT_LE(cancel.height(), 22);
    EXPECT_LE(cancel.width(), 100);
    EXPECT_GE(cancel.width(), 40);
}

TEST_F(DemoDisc, LeftOutColoursLieOutsideTheShapesOnly) {
    // Points where the list's colour must show (outside) and where it must not (the piece itself).
    struct Case {
        const char* file;
        std::vector<QPoint> outside, inside;
    };
    const std::vector<Case> cases = {
        {"winmenu.bmp", {{0, 0}, {119, 21}, {10, 10}, {110, 10}}, {{45, 8}, {79, 8}, {62, 8}}},
        {"winmenu_1.bmp", {{0, 0}, {119, 21}}, {{45, 8}, {79, 8}}},
        {"winmenu_2.bmp", {{0, 0}, {119, 21}}, {{45, 8}, {79, 8}}},
        {"scroll01.bmp", {{0, 0}, {19, 19}, {0, 19}}, {{10, 10}, {10, 3}}},
        {"scroll02.bmp", {{0, 0}, {19, 19}}, {{10, 10}, {10, 16}}},
        {"scroll1.bmp", {{0, 0}, {19, 19}}, {{10, 10}}},
        {"scroll2.bmp", {{0, 0}, {19, 19}}, {{10, 10}}},
        {"lista_ban.bmp", {{187, 0}, {187, 5}}, {{30, 12}, {100, 20}, {5, 30}}},
        {"lista_d.bmp", {{187, 15}}, {{10, 8}, {100, 8}}},
        {"ustawienia.bmp", {{0, 0}, {0, 393}}, {{11, 200}, {80, 100}, {130, 24}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        uint32_t key = 0;
        for (const SkinImageListFile& file : skin_image_list_files)
            if (QLatin1String(file.name) == QLatin1String(c.file))
                key = from_windows_colour(file.transparent);
        const QImage image = skin_image(c.file);
        for (const QPoint& at : c.outside)
            EXPECT_EQ(rgb(image, at.x(), at.y()), key) << at.x() << "," << at.y();
        for (const QPoint& at : c.inside)
            EXPECT_NE(rgb(image, at.x(), at.y()), key) << at.x() << "," << at.y();
    }
}

TEST_F(DemoDisc, WindowButtonsAreWholeInEveryCell) {
    // The lit cells are drawn over the plain one, so none may leave a hole in a button.
    for (const char* name : {"winmenu.bmp", "winmenu_1.bmp", "winmenu_2.bmp"}) {
        const QImage image = skin_image(name);
        for (const QRect& button : {QRect(31, 3, 29, 12), QRect(67, 3, 25, 12)})
            for (int y = button.top(); y <= button.bottom(); ++y)
                for (int x = button.left(); x <= button.right(); ++x)
                    ASSERT_NE(rgb(image, x, y), 0x8D8D8Du) << name << " " << x << "," << y;
    }
    // And a lit button looks different from the plain one.
    const QImage plain = skin_image("winmenu.bmp");
    EXPECT_NE(plain.copy(31, 3, 29, 12), skin_image("winmenu_1.bmp").copy(31, 3, 29, 12));
    EXPECT_NE(plain.copy(67, 3, 25, 12), skin_image("winmenu_2.bmp").copy(67, 3, 25, 12));
    EXPECT_EQ(plain.copy(67, 3, 25, 12), skin_image("winmenu_1.bmp").copy(67, 3, 25, 12));
}

TEST_F(DemoDisc, SettingsPictureShowsTheTickColourWhereTicksAreDrawnAndACaptionOnEveryRow) {
    const QImage image = skin_image("ustawienia.bmp");
    for (const demo::SettingsRow& row : demo::settings_rows) {
        SCOPED_TRACE(row.caption);
        if (row.mark_line >= 0) {
            for (int y = row.mark_line; y < row.mark_line + demo::tick_lines; ++y)
                for (int x = demo::tick_left; x <= demo::tick_right; ++x)
                    EXPECT_EQ(rgb(image, x, y), from_windows_colour(0xB4FDB8)) << x << "," << y;
        }
        // The caption's pale letters lie on the lines the row reacts to, right of its first column.
        int lit = 0;
        for (int y = row.top; y <= row.bottom; ++y)
            for (int x = row.left; x < 124; ++x)
                lit += qGray(image.pixel(x, y)) > 150 ? 1 : 0;
        EXPECT_GE(lit, 15);
        // Nothing of it lies left of that column on those lines, or a click there would miss it.
        for (int y = row.top; y <= row.bottom; ++y)
            for (int x = 24; x < row.left - 2; ++x)
                EXPECT_LT(qGray(image.pixel(x, y)), 150) << x << "," << y;
    }
    // No stray black inside the drawer: it would let the background through.
    for (int y = 8; y < 386; ++y)
        for (int x = 8; x < 141; ++x)
            ASSERT_NE(rgb(image, x, y), 0u) << x << "," << y;
}

TEST_F(DemoDisc, PanelReliefLeavesTheBackgroundAloneAroundItsPlates) {
    const QImage relief = skin_image("panel.bmp");
    const auto blue = [&relief](int x, int y) { return qBlue(relief.pixel(x, y)); };
    // Open places between the plates keep the background's colours.
    for (const QPoint& at :
         {QPoint(30, 150), QPoint(347, 150), QPoint(100, 300), QPoint(300, 330), QPoint(200, 8)})
        EXPECT_EQ(blue(at.x(), at.y()), 128) << at.x() << "," << at.y();
    int neutral = 0;
    for (int y = 0; y < relief.height(); ++y)
        for (int x = 0; x < relief.width(); ++x)
            neutral += blue(x, y) == 128 ? 1 : 0;
    EXPECT_GT(neutral, relief.width() * relief.height() / 3);
    // Black text needs a raised plate under it, pale text a sunken well.
    struct Place {
        const char* what;
        QRect area;
        bool raised;
    };
    const std::vector<Place> places = {
        {"title", QRect(80, 24, 240, 14), true},
        {"run button", QRect(140, 321, 116, 12), true},
        {"description", QRect(371, 34, 160, 200), false},
        {"requirements", QRect(367, 270, 165, 60), false},
        {"picture numbers", QRect(150, 272, 104, 14), false},
    };
    for (const Place& place : places)
        for (int y = place.area.top(); y <= place.area.bottom(); ++y)
            for (int x = place.area.left(); x <= place.area.right(); ++x) {
                if (place.raised)
                    ASSERT_GT(blue(x, y), 170) << place.what << " " << x << "," << y;
                else
                    ASSERT_LT(blue(x, y), 100) << place.what << " " << x << "," << y;
            }
    // The previous and next arrows show on the frame's sides, left and right of the picture.
    for (const QRect& arrow : {QRect(72, 165, 10, 11), QRect(322, 165, 10, 11)}) {
        int bright = 0;
        for (int y = arrow.top(); y <= arrow.bottom(); ++y)
            for (int x = arrow.left(); x <= arrow.right(); ++x)
                bright += blue(x, y) >= 240 ? 1 : 0;
        EXPECT_GE(bright, 12) << arrow.x();
    }
}

TEST_F(DemoDisc, WallpapersDifferAndAreNotFlat) {
    const QImage first = skin_image("tapeta.bmp"), second = skin_image("tapeta#2.bmp");
    EXPECT_NE(first, second);
    for (const QImage& image : {first, second}) {
        std::set<uint32_t> colours;
        long brightness = 0;
        for (int y = 0; y < image.height(); y += 5)
            for (int x = 0; x < image.width(); x += 5) {
                colours.insert(rgb(image, x, y));
                brightness += qGray(image.pixel(x, y));
            }
        EXPECT_GT(colours.size(), 500u);
        // Dark enough for the pale texts over it.
        EXPECT_LT(brightness / (160 * 120), 90);
        // Drawn again from x 800 on wider screens: the right edge must run on into the left one.
        const auto column_step = [&image](int a, int b) {
            long sum = 0;
            for (int y = 0; y < image.height(); ++y) {
                const QRgb p = image.pixel(a, y), q = image.pixel(b, y);
                sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                       std::abs(qBlue(p) - qBlue(q));
            }
            return static_cast<double>(sum) / image.height();
        };
        double inside = 0;
        for (int x : {100, 300, 500, 700})
            inside += column_step(x - 1, x) / 4;
        EXPECT_LT(column_step(image.width() - 1, 0), 1.5 * inside + 2) << "inside steps " << inside;
    }
}

TEST_F(DemoDisc, CatalogueIsWindows1250AndStartsWithATag) {
    for (const QString& file : {QStringLiteral("index.xml"), QStringLiteral("reklamy.txt")}) {
        const QByteArray bytes = bytes_of(root() + "/menu/" + file);
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_FALSE(is_valid_utf8(bytes)) << file.toStdString() << " should carry Windows-1250 letters";
        EXPECT_TRUE(bytes.contains("\r\n"));
    }
    // A text before the first tag would open a section of its own.
    EXPECT_EQ(bytes_of(skin("index.xml")).at(0), '<');
    EXPECT_TRUE(bytes_of(skin("index.xml"))
                    .contains("Narz\xEA"
                              "dzia"));
}

TEST_F(DemoDisc, MenuReadsFourSectionsOneOfThemLongEnoughToScroll) {
    test::Menu menu;
    load(menu);
    EXPECT_TRUE(menu.dropped.isEmpty());
    ASSERT_EQ(menu.catalogue.section_count(), 4);
    EXPECT_EQ(menu.catalogue.section_name(0), "Gry");
    EXPECT_EQ(menu.catalogue.section_name(2), QString::fromUtf8("Narzędzia"));
    int longest = 0;
    for (int s = 0; s < 4; ++s)
        longest = std::max(longest, menu.catalogue.entry_count(s));
    EXPECT_GE(longest, 25);
    const QStringList ticker = load_ticker_lines(root());
    ASSERT_EQ(ticker.size(), 4);
    for (int s = 0; s < 4; ++s)
        EXPECT_TRUE(ticker[s].startsWith(menu.catalogue.section_name(s))) << ticker[s].toStdString();
}

TEST_F(DemoDisc, EveryEntryHasItsOwnFileDescriptionAndPictures) {
    test::Menu menu;
    load(menu);
    std::set<QString> files, kinds;
    for (int s = 0; s < menu.catalogue.section_count(); ++s) {
        for (int e = 0; e < menu.catalogue.entry_count(s); ++e) {
            const CatalogueEntry entry = menu.catalogue.entry(s, e);
            SCOPED_TRACE(entry.path.toStdString());
            // Pending values carry over in the reader, so every entry must name its own file.
            EXPECT_TRUE(files.insert(entry.exe_path).second) << "file shared with an earlier entry";
            EXPECT_TRUE(entry.exe_path.startsWith(entry.path + "\\"));
            EXPECT_FALSE(entry.name.isEmpty());
            EXPECT_TRUE(QFileInfo(demo::on_disc(root(), entry.exe_path)).isFile());
            kinds.insert(entry.exe_path.section('.', -1));

            std::vector<QString> loaded;
            menu.description.OnLoadPicture = [&loaded](const QString& file) { loaded.push_back(file); };
            load_entry_description(menu.parser, menu.description, root(), entry.path);
            const EntryDescription& d = menu.description;
            EXPECT_FALSE(d.entry_title.isEmpty());
            EXPECT_FALSE(d.entry_type.isEmpty());
            // The panel has room for 13 description lines above "wymagania:" and 6 requirement lines.
            EXPECT_GE(d.description_lines.size(), 2);
            EXPECT_LE(d.description_lines.size(), 13);
            EXPECT_LE(d.requirement_lines.size(), 6);
            EXPECT_LE(d.entry_title.size(), 30);
            EXPECT_LE(d.picture_names.size(), 5);
            EXPECT_EQ(loaded.size(), d.picture_names.isEmpty() ? 0u : 1u);
            for (const QString& picture : d.picture_names) {
                const QImage image = load_jpeg_file(root() + "\\" + picture);
                EXPECT_GE(image.width(), 240);
                EXPECT_GE(image.height(), 180);
            }
        }
        ASSERT_TRUE(QDir::setCurrent(root()));
    }
    // Every kind of entry the menu tells apart.
    for (const char* kind : {"exe", "bat", "rar", "txt", "html"})
        EXPECT_TRUE(kinds.count(kind)) << kind;
}

TEST_F(DemoDisc, EntryFilesAreWhatTheirNamesPromise) {
    test::Menu menu;
    load(menu);
    for (int s = 0; s < menu.catalogue.section_count(); ++s) {
        for (int e = 0; e < menu.catalogue.entry_count(s); ++e) {
            const QString path = demo::on_disc(root(), menu.catalogue.entry(s, e).exe_path);
            const QByteArray bytes = bytes_of(path);
            SCOPED_TRACE(path.toStdString());
            if (path.endsWith(".exe")) {
                // Started directly on Linux: a script, not a Windows program for wine.
                EXPECT_TRUE(bytes.startsWith("#!/bin/sh\n"));
                EXPECT_TRUE(QFileInfo(path).isExecutable());
            } else if (path.endsWith(".rar")) {
                EXPECT_TRUE(bytes.startsWith(QByteArray("Rar!\x1A\x07\x00", 7)));
                EXPECT_GT(bytes.size(), 20000) << "too small for the progress display to move";
            } else if (path.endsWith(".bat")) {
                EXPECT_TRUE(bytes.startsWith("@echo off\r\n"));
            } else {
                EXPECT_FALSE(is_valid_utf8(bytes)) << "documents are written in Windows-1250";
            }
        }
    }
}

} // namespace
} // namespace kelvox
