#include "platform/disc_file.h"
#include "platform/disc_path.h"
#include "platform/files.h"
#include "platform/platform_error.h"
#include "platform/text_codec.h"
#include "platform/text_file.h"

#include "tests/support/disc_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace kelvox {
namespace {

using test::DiscFixture;

TEST(DiscPath, BackslashesBecomeSlashes) {
    EXPECT_EQ(disc_to_slashes("gry\\demo1\\setup.exe"), "gry/demo1/setup.exe");
    EXPECT_EQ(disc_to_slashes("/tmp/disc\\menu\\index.xml"), "/tmp/disc/menu/index.xml");
    EXPECT_EQ(disc_to_slashes(""), "");
}

class CaseMatching : public ::testing::Test {
protected:
    void SetUp() override {
        disc.write("Menu/Index.XML", "x");
        disc.write("GRY/DEMO1/INFO.XML", "x");
        disc.write("gry2/Demo/info.xml", "x");
        disc.write("both/file", "lower");
        disc.write("both/FILE", "upper");
        disc.write("other/B/c.txt", "x");
        disc.make_directory("a");
        disc.write("inner/keep.txt", "x");
        disc.write("Sibling/s.txt", "x");
        ASSERT_TRUE(QDir::setCurrent(disc.root()));
    }
    DiscFixture disc;
};

TEST_F(CaseMatching, FindsEachComponentIgnoringCase) {
    const struct {
        QString disc_path;
        QString resolved;
    } cases[] = {
        {"menu\\index.xml", "Menu/Index.XML"},
        {"MENU\\INDEX.XML", "Menu/Index.XML"},
        {"Menu\\Index.XML", "Menu/Index.XML"},
        {"gry\\demo1\\info.xml", "GRY/DEMO1/INFO.XML"},
        {"GRY2\\DEMO\\INFO.XML", "gry2/Demo/info.xml"},
        {"menu\\\\index.xml", "Menu/Index.XML"}, // a doubled separator
        {"menu\\", "Menu"},
        // The exact name wins when both spellings exist.
        {"both\\file", "both/file"},
        {"both\\FILE", "both/FILE"},
        // A missing component keeps the rest as written.
        {"menu\\brak.bmp", "Menu/brak.bmp"},
        {"brak\\Index.XML", "brak/Index.XML"},
        // b only exists under another directory: not found under a.
        {"a\\b\\c.txt", "a/b/c.txt"},
        // "." and ".." are taken as they stand.
        {".\\MENU\\index.xml", "./Menu/Index.XML"},
        {"inner\\..\\menu\\index.xml", "inner/../Menu/Index.XML"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(native_path(c.disc_path), c.resolved) << c.disc_path.toStdString();
}

TEST_F(CaseMatching, AbsolutePathsAreMatchedFromTheRoot) {
    const QString resolved = native_path(disc.root() + "\\MENU\\INDEX.xml");
    EXPECT_EQ(resolved, disc.root() + "/Menu/Index.XML");
    EXPECT_TRUE(QFileInfo::exists(resolved));
}

TEST_F(CaseMatching, ParentOfTheCurrentDirectoryIsOnlyReachedByDotDot) {
    ASSERT_TRUE(set_current_directory("inner"));
    EXPECT_FALSE(file_exists("sibling\\s.txt"));
    EXPECT_TRUE(file_exists("..\\sibling\\s.txt"));
    EXPECT_TRUE(file_exists("KEEP.TXT"));
}

TEST_F(CaseMatching, CurrentDirectoryFollowsSetAndRefusesMissingDirectories) {
    ASSERT_TRUE(set_current_directory("gry\\demo1"));
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(disc.absolute("GRY/DEMO1")).canonicalPath());
    EXPECT_EQ(current_directory(), QDir::toNativeSeparators(QDir::currentPath()));
    EXPECT_FALSE(set_current_directory("..\\nie_ma"));
    EXPECT_FALSE(set_current_directory("info.xml")); // a file, not a directory
    EXPECT_FALSE(set_current_directory(""));
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(disc.absolute("GRY/DEMO1")).canonicalPath());
}

TEST_F(CaseMatching, ExistenceAndSize) {
    const struct {
        QString disc_path;
        bool file;
        bool directory;
        qint64 size;
    } cases[] = {
        {"menu\\index.xml", true, false, 1}, {"both\\FILE", true, false, 5},       {"menu", false, true, -1},
        {"GRY\\demo1", false, true, -1},     {"menu\\brak.xml", false, false, -1}, {"", false, false, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(file_exists(c.disc_path), c.file) << c.disc_path.toStdString();
        EXPECT_EQ(directory_exists(c.disc_path), c.directory) << c.disc_path.toStdString();
        EXPECT_EQ(file_size(c.disc_path), c.size) << c.disc_path.toStdString();
    }
}

TEST_F(CaseMatching, DirectoryCreation) {
    EXPECT_TRUE(create_directory("nowy"));
    EXPECT_TRUE(QFileInfo(disc.absolute("nowy")).isDir());
    EXPECT_TRUE(create_directory("NOWY")); // already there, under another case
    EXPECT_FALSE(QFileInfo::exists(disc.absolute("NOWY")));
    EXPECT_TRUE(create_directory("menu\\Pod"));
    EXPECT_TRUE(QFileInfo(disc.absolute("Menu/Pod")).isDir());
    EXPECT_FALSE(create_directory("brak\\dalej"));     // the parent is missing
    EXPECT_FALSE(create_directory("menu\\index.xml")); // a file stands there
}

TEST_F(CaseMatching, ReadingNamesTheFileAsGivenWhenItFails) {
    disc.write("Menu/reklamy.txt", "Linia \xB9\r\ndruga\r\n");
    EXPECT_EQ(load_text_lines("MENU\\Reklamy.txt", kTickerFileCap),
              QStringList({QString::fromUtf8("Linia ą"), "druga"}));
    const QString names[] = {"menu\\brak.txt", "menu", ""};
    for (const QString& name : names) {
        try {
            load_text_lines(name, kTickerFileCap);
            ADD_FAILURE() << "no error for " << name.toStdString();
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.message(), "Cannot open file " + name);
        }
    }
}

} // namespace
} // namespace kelvox
