#include "catalogue/catalogue.h"
#include "catalogue/catalogue_loading.h"
#include "catalogue/catalogue_reader.h"
#include "catalogue/entry_action.h"
#include "catalogue/entry_description.h"
#include "catalogue/html_parser.h"
#include "platform/platform_error.h"
#include "platform/text_codec.h"

#include "tests/catalogue/catalogue_wiring.h"
#include "tests/support/disc_fixture.h"

#include <QDir>

#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

using test::Menu;

const QStringList kExample = {
    "<menu>",
    "  <nazwa>Gry</nazwa>",
    "  <nazwa_e>Demo "
    "jeden</nazwa_e><sciezka_exe>gry\\demo1\\setup.exe</sciezka_exe><sciezka>gry\\demo1</sciezka>",
    "  <nazwa_e>Demo "
    "dwa</nazwa_e><sciezka_exe>gry\\demo2\\demo2.rar</sciezka_exe><sciezka>gry\\demo2</sciezka>",
    "  <nazwa>Programy</nazwa>",
    "  <nazwa_e>Edytor</nazwa_e><sciezka>prog\\edytor</sciezka>",
    "</menu>",
};

TEST(Catalogue, WorkedExample) {
    Menu menu;
    menu.run(kExample);
    EXPECT_EQ(menu.catalogue.section_count(), 2);
    EXPECT_EQ(menu.table(), QStringList({
                                "Gry: (Demo jeden, gry\\demo1, gry\\demo1\\setup.exe) (Demo dwa, gry\\demo2, "
                                "gry\\demo2\\demo2.rar)",
                                "Programy: (Edytor, prog\\edytor, gry\\demo2\\demo2.rar)",
                            }));
    EXPECT_TRUE(menu.dropped.isEmpty());
}

TEST(Catalogue, FileShapes) {
    const struct {
        const char* what;
        QStringList lines;
        QStringList table;
    } cases[] = {
        {"text before the first tag opens a section", {" <nazwa>Gry</nazwa>"}, {" :", "Gry:"}},
        {"an XML declaration is ignored", {"<?xml version=\"1.0\"?>", "<nazwa>Gry</nazwa>"}, {"Gry:"}},
        {"a name split over two lines", {"<nazwa>G", "ry</nazwa>"}, {"Gry:"}},
        {"path before name takes the previous name",
         {"<nazwa>S</nazwa><sciezka>a</sciezka><nazwa_e>A</nazwa_e><sciezka>b</sciezka><sciezka>c</sciezka>"},
         {"S: (, a, ) (A, b, ) (A, c, )"}},
        {"pending values carry over sections",
         {"<nazwa>S</nazwa><nazwa_e>A</nazwa_e><sciezka_exe>a.exe</sciezka_exe><sciezka>a</sciezka>",
          "<nazwa>T</nazwa><sciezka>b</sciezka>"},
         {"S: (A, a, a.exe)", "T: (A, b, a.exe)"}},
        {"attributes, blanks and case make a tag of no kind",
         {"<nazwa>S</nazwa><nazwa >X</nazwa><NAZWA>Y</NAZWA><nazwa id=1>Z</nazwa><Sciezka>p</Sciezka>"},
         {"S:"}},
        {"an empty element makes nothing", {"<nazwa></nazwa><nazwa>S</nazwa><sciezka></sciezka>"}, {"S:"}},
        {"a file that ends without a final tag loses its text", {"<nazwa>Gry"}, {}},
        {"texts are kept as they stand",
         {"<nazwa>  Gry &amp; zabawy </nazwa><nazwa_e> A </nazwa_e><sciezka> p\\q </sciezka>"},
         {"  Gry &amp; zabawy : ( A ,  p\\q , )"}},
        {"a blank after a closing tag falls under kind 100",
         {"<nazwa>S</nazwa> <nazwa_e>A</nazwa_e> <sciezka>p</sciezka> "},
         {"S: (A, p, )"}},
    };
    for (const auto& c : cases) {
        Menu menu;
        menu.run(c.lines);
        EXPECT_EQ(menu.table(), c.table) << c.what;
    }
}

TEST(Catalogue, TwentySlotsAndNothingBeyond) {
    Menu menu;
    QStringList lines;
    for (int i = 1; i <= 22; ++i)
        lines.append(QString("<nazwa>S%1</nazwa><nazwa_e>E%1</nazwa_e><sciezka>p%1</sciezka>").arg(i));
    menu.run(lines);
    ASSERT_EQ(menu.catalogue.section_count(), Catalogue::kSectionSlots);
    EXPECT_EQ(menu.catalogue.section_name(19), "S20");
    // The entries of the refused sections do not slip into the twentieth.
    EXPECT_EQ(menu.catalogue.entry_count(19), 1);
    EXPECT_EQ(menu.dropped, QStringList({"0 S21", "2 p21", "0 S22", "2 p22"}));
}

TEST(Catalogue, EntryBeforeAnySectionIsDropped) {
    Menu menu;
    menu.run({"<menu><nazwa_e>A</nazwa_e><sciezka>a</sciezka><nazwa>S</nazwa><sciezka>b</sciezka>"});
    EXPECT_EQ(menu.table(), QStringList({"S: (A, b, )"}));
    EXPECT_EQ(menu.dropped, QStringList({"2 a"}));
}

TEST(Catalogue, ReadersOutsideTheCatalogueGetNothing) {
    Menu menu;
    menu.run(kExample);
    const Catalogue& c = menu.catalogue;
    EXPECT_EQ(c.section_name(2), "");
    EXPECT_EQ(c.section_name(-1), "");
    EXPECT_EQ(c.entry_count(5), 0);
    EXPECT_EQ(c.entry(0, 2).name, "");
    EXPECT_EQ(c.entry(1, -1).path, "");
    EXPECT_EQ(c.entry(0, 1).name, "Demo dwa");
    EXPECT_TRUE(c.section(7).entries.empty());
}

TEST(Catalogue, OnlyTheExactLowerCaseTagNamesHaveAKind) {
    for (const char* tag : {"/nazwa", "nazwa ", "NAZWA", " nazwa", "", "menu", "_Opis", "sciezka_exe2"})
        EXPECT_EQ(CatalogueReader::kind_of(QString::fromLatin1(tag)), CatalogueReader::kOther) << tag;
}

TEST(Catalogue, DescriptionTagsAndCatalogueTagsShareOneMachine) {
    Menu menu;
    menu.run(kExample);
    // An info.xml with a catalogue tag adds to the catalogue; the kind carries into the next run.
    menu.run({"<_nazwa>Tytul</_nazwa><nazwa>Dodatkowa</nazwa><_typ>gra"});
    menu.run({"<x>", "<_typ>demo</_typ>"});
    EXPECT_EQ(menu.catalogue.section_count(), 3);
    EXPECT_EQ(menu.catalogue.section_name(2), "Dodatkowa");
    EXPECT_EQ(menu.description.entry_title, "Tytul");
    EXPECT_EQ(menu.description.entry_type, "demo");
    EXPECT_EQ(menu.reader.tag_kind, 100);
    EXPECT_EQ(menu.reader.pending_exe_path, "gry\\demo2\\demo2.rar");
}

TEST(Catalogue, EntryActionsByCaseSensitiveSubstrings) {
    const struct {
        QString exe_path;
        EntryAction action;
    } cases[] = {
        {"gry\\demo1\\setup.exe", EntryAction::Program},
        {"gry\\start.bat", EntryAction::Program},
        {"gry\\demo.rar", EntryAction::Unpack},
        {"gry\\setup.exe.rar", EntryAction::Program},
        {"gry\\SETUP.EXE", EntryAction::Open},
        {"gry\\demo.RAR", EntryAction::Open},
        {"a.rar\\readme.txt", EntryAction::Unpack},
        {"doc\\instrukcja.pdf", EntryAction::Open},
        {"", EntryAction::Open},
    };
    for (const auto& c : cases)
        EXPECT_EQ(entry_action(c.exe_path), c.action) << c.exe_path.toStdString();
    EXPECT_EQ(entry_action_name(EntryAction::Unpack), "unpack");
}

TEST(CatalogueLoading, ReadsMenuIndexFromTheCurrentDirectory) {
    test::DiscFixture disc;
    QByteArray bytes = "\xEF\xBB\xBF";
    bytes += kExample.join("\r\n").toUtf8();
    bytes.replace("Edytor", "Edytor \xC5\xBC"); // ż in UTF-8
    disc.write("MENU/Index.xml", bytes);
    Menu menu;
    menu.catalogue.open_section("left over");
    load_catalogue(menu.parser, menu.catalogue, disc.root());
    // The mark is no text: no section named after it.
    ASSERT_EQ(menu.catalogue.section_count(), 2);
    EXPECT_EQ(menu.catalogue.section_name(0), "Gry");
    EXPECT_EQ(menu.catalogue.entry(1, 0).name, QString::fromUtf8("Edytor ż"));
}

TEST(CatalogueLoading, Windows1250Catalogue) {
    test::DiscFixture disc;
    disc.write("menu/index.xml",
               encode_windows_1250(QString::fromUtf8("<nazwa>Gry logiczne – łamigłówki</nazwa>")));
    Menu menu;
    load_catalogue(menu.parser, menu.catalogue, disc.root());
    EXPECT_EQ(menu.catalogue.section_name(0), QString::fromUtf8("Gry logiczne – łamigłówki"));
}

TEST(CatalogueLoading, MissingFilesRaiseTheOpenError) {
    test::DiscFixture disc;
    Menu menu;
    try {
        load_catalogue(menu.parser, menu.catalogue, disc.root());
        ADD_FAILURE() << "no error";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.message(), "Cannot open file menu\\index.xml");
    }
    try {
        load_ticker_lines(disc.root());
        ADD_FAILURE() << "no error";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.message(), "Cannot open file menu\\reklamy.txt");
    }
}

TEST(CatalogueLoading, TickerLinesKeepTheirFullCount) {
    test::DiscFixture disc;
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += "Linia " + QByteArray::number(i) + (i % 2 ? "\r\n" : "\n");
    disc.write("menu/reklamy.txt", bytes);
    const QStringList lines = load_ticker_lines(disc.root());
    ASSERT_EQ(lines.size(), 256);
    EXPECT_EQ(lines[255], "Linia 255");
}

} // namespace
} // namespace kelvox
