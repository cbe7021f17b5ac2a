#include "catalogue/catalogue.h"
#include "catalogue/catalogue_loading.h"
#include "catalogue/catalogue_reader.h"
#include "catalogue/entry_description.h"
#include "catalogue/html_parser.h"
#include "catalogue/text_wrap.h"
#include "platform/files.h"
#include "platform/platform_error.h"
#include "platform/text_codec.h"

#include "tests/catalogue/catalogue_wiring.h"
#include "tests/support/disc_fixture.h"
#include "tests/support/qt_printers.h"

#include <QDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace kelvox {
namespace {

QStringList lines(const QString& joined) {
    return joined.split('|');
}

TEST(Wrapping, DescriptionsAndRequirements) {
    const QString word21(21, 'w');
    const QString word22(22, 'v');
    const struct {
        const char* what;
        QString text;
        bool description;
        QStringList lines;
    } cases[] = {
        {"cut after the last blank", "Nowa wersja popularnego edytora grafiki", true,
         lines("Nowa wersja |popularnego edytora |grafiki")},
        {"full pieces followed by a blank", "Gra akcji z widokiem z perspektywy pierwszej osoby", true,
         lines("Gra akcji z widokiem z|perspektywy pierwszej|osoby")},
        {"last piece of exactly 22 with its blank", "Demo gry strategicznej w czasie rzeczywistym", true,
         lines("Demo gry strategicznej|w czasie rzeczywistym")},
        {"requirements cut after the last blank", "Windows 95/98, DirectX 7.0, 64 MB RAM", false,
         lines("Windows 95/98, |DirectX 7.0, 64 MB |RAM")},
        {"requirements keep the leading blank", "Procesor 500 MHz, 128 MB RAM", false,
         lines("Procesor 500 MHz, 128| MB RAM")},
        {"22-character description is trimmed", "  Gra przygodowa 2000x", true, {"Gra przygodowa 2000x"}},
        {"21-character description is not", "  Gra przygodowa 2000", true, {"  Gra przygodowa 2000"}},
        {"21-character requirement is one line as a final piece",
         " Pentium 200, 32 MB a",
         false,
         {" Pentium 200, 32 MB a"}},
        {"20-character requirement stands", " Pentium 200, 32 MB ", false, {" Pentium 200, 32 MB "}},
        {"blank before a long word gives an empty line",
         word22 + " " + word21 + "xyz",
         true,
         {word22, "", word21 + "x", "yz"}},
        {"a long word is split at the width", word22 + word22 + "k", true, {word22, word22, "k"}},
        {"requirements split a long word at 21", word22, false, {QString(21, 'v'), "v"}},
        {"control characters are trimmed", "Gra\ttekstowa z polskimi\t\tznakami", true,
         lines("Gra\ttekstowa z |polskimi\t\tznakami")},
        {"empty text is one empty line", "", true, {""}},
    };
    for (const auto& c : cases) {
        const QStringList got = c.description ? wrap_text(c.text, 22, true) : wrap_text(c.text, 21, false);
        EXPECT_EQ(got, c.lines) << c.what << ": " << got.join("|").toStdString();
    }
}

TEST(Wrapping, LongTextsLoseNoCharacters) {
    // Far beyond 65535 characters: every character comes out in order, none lost to a short counter.
    QString text;
    for (int i = 0; text.size() < 70000; ++i)
        text += QString("slowo%1 ").arg(i % 97);
    const QStringList got = wrap_text(text, 21, false);
    EXPECT_EQ(got.join(QString()), text);
    for (const QString& line : got)
        EXPECT_LE(line.size(), 21);
    const QStringList trimmed = wrap_text(text, 22, true);
    EXPECT_EQ(QString(trimmed.join(QString())).remove(' '), QString(text).remove(' '));
}

// The picture loader records its calls and refuses any file named zly.jpg.
struct Selection : test::Menu {
    Selection() {
        description.program_dir = "D:";
        description.OnLoadPicture = [this](const QString& file) {
            loaded.append(file);
            if (file.endsWith("zly.jpg"))
                throw PlatformError("JPEG image is not valid: Not a JPEG file");
        };
    }
    QStringList loaded;
};

TEST(EntryDescription, FieldsFromInfoXml) {
    Selection s;
    s.run({"<info>", "<_nazwa>Pierwszy</_nazwa><_nazwa>Demo jeden</_nazwa>",
           "<_opis>Gra akcji z widokiem z perspektywy pierwszej</_opis>", "<_opis>Druga czesc</_opis>",
           "<_wymagania>Windows 95/98, DirectX 7.0, 64 MB RAM</_wymagania>",
           "<_obrazek>gry\\demo1\\shot1.jpg</_obrazek><_obrazek>gry\\demo1\\shot2.jpg</_obrazek>",
           "<_obrazek>gry\\demo1\\shot3.jpg</_obrazek>", "<_typ>demo</_typ>", "</info>", ""});
    const EntryDescription& d = s.description;
    EXPECT_EQ(d.entry_title, "Demo jeden");
    EXPECT_EQ(d.description_lines, lines("Gra akcji z widokiem z|perspektywy pierwszej|Druga czesc"));
    EXPECT_EQ(d.requirement_lines, lines("Windows 95/98, |DirectX 7.0, 64 MB |RAM"));
    EXPECT_EQ(d.picture_names, lines("gry\\demo1\\shot1.jpg|gry\\demo1\\shot2.jpg|gry\\demo1\\shot3.jpg"));
    EXPECT_EQ(d.entry_type, "demo");
    EXPECT_TRUE(d.picture_loaded);
    EXPECT_EQ(s.loaded, QStringList({"D:\\gry\\demo1\\shot1.jpg"}));
    EXPECT_LT(s.parser.LastLineDone, s.parser.LineCount);
}

TEST(EntryDescription, TextsAsTheTokenizerJoinsThem) {
    const struct {
        const char* what;
        QStringList file;
        QStringList description;
    } cases[] = {
        {"lines joined without a separator",
         {"<_opis>z perspektywy pierwszej", "osoby</_opis>"},
         {"z perspektywy ", "pierwszejosoby"}},
        {"a blank at a line end keeps words apart",
         {"<_opis>z perspektywy pierwszej ", "osoby</_opis>"},
         {"z perspektywy ", "pierwszej osoby"}},
        {"a tag inside the text cuts it", {"<_opis>abc<br>def</_opis>"}, {"abc"}},
        {"no description", {"<_nazwa>x</_nazwa>"}, {}},
    };
    for (const auto& c : cases) {
        Selection s;
        s.run(c.file);
        EXPECT_EQ(s.description.description_lines, c.description) << c.what;
        EXPECT_TRUE(s.description.requirement_lines.isEmpty()) << c.what;
    }
}

TEST(EntryDescription, PictureThatFailsStopsTheRun) {
    Selection s;
    EXPECT_THROW(
        s.run(
            {"<_nazwa>A</_nazwa><_obrazek>gry\\zly.jpg</_obrazek><_obrazek>b.jpg</_obrazek><_typ>t</_typ>"}),
        PlatformError);
    EXPECT_EQ(s.description.picture_names, QStringList({"gry\\zly.jpg"}));
    EXPECT_FALSE(s.description.picture_loaded);
    EXPECT_EQ(s.description.entry_title, "A");
    EXPECT_EQ(s.description.entry_type, "");
    EXPECT_FALSE(s.parser.Running());
}

TEST(EntryDescription, ResetEmptiesEverything) {
    Selection s;
    s.run({"<_nazwa>A</_nazwa><_opis>o</_opis><_wymagania>w</_wymagania><_obrazek>p.jpg</_obrazek><_typ>t</"
           "_typ>"});
    s.description.reset();
    const EntryDescription& d = s.description;
    EXPECT_TRUE(d.entry_title.isEmpty() && d.entry_type.isEmpty());
    EXPECT_TRUE(d.description_lines.isEmpty() && d.requirement_lines.isEmpty() && d.picture_names.isEmpty());
    EXPECT_FALSE(d.picture_loaded);
    // After a reset the next first picture is loaded again.
    s.run({"<_obrazek>q.jpg</_obrazek>"});
    EXPECT_EQ(s.loaded, QStringList({"D:\\p.jpg", "D:\\q.jpg"}));
}

class EntrySelection : public ::testing::Test {
protected:
    void SetUp() override {
        disc.write("Gry/Demo1/INFO.XML", encode_windows_1250(QString::fromUtf8(
                                             "<_nazwa>Łódź</_nazwa>\r\n<_obrazek>gry\\demo1\\a.jpg</_obrazek>"
                                             "\r\n<_typ>pełna wersja</_typ>\r\n")));
        disc.write("gry2/info.xml", "<_nazwa>Drugi</_nazwa>");
        disc.make_directory("bez_info");
        ASSERT_TRUE(QDir::setCurrent(disc.root()));
        program_dir = current_directory();
    }
    test::DiscFixture disc;
    Selection s;
    QString program_dir;
};

TEST_F(EntrySelection, ReadsInfoXmlOfTheEntryDirectory) {
    s.description.entry_title = "stary";
    s.description.requirement_lines = QStringList{"stare"};
    load_entry_description(s.parser, s.description, program_dir, "gry\\demo1");
    EXPECT_EQ(s.description.entry_title, QString::fromUtf8("Łódź"));
    EXPECT_EQ(s.description.entry_type, QString::fromUtf8("pełna wersja"));
    EXPECT_TRUE(s.description.requirement_lines.isEmpty());
    EXPECT_EQ(s.loaded, QStringList({program_dir + "\\gry\\demo1\\a.jpg"}));
    EXPECT_TRUE(s.description.picture_loaded);
    // Read from where it lies: the process's current directory stays the disc's root.
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(disc.root()).canonicalPath());
}

TEST_F(EntrySelection, MissingInfoLeavesTheDescriptionEmpty) {
    const QString paths[] = {"bez_info", "nie_ma"};
    for (const QString& path : paths) {
        load_entry_description(s.parser, s.description, program_dir, "gry2");
        ASSERT_EQ(s.description.entry_title, "Drugi");
        try {
            load_entry_description(s.parser, s.description, program_dir, path);
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.message(), "Cannot open file info.xml");
        }
        // Not the description of the directory left behind.
        EXPECT_EQ(s.description.entry_title, "") << path.toStdString();
    }
}

} // namespace
} // namespace kelvox
