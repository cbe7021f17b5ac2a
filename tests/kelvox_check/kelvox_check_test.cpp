#include "tools/kelvox_check/disc_check.h"

#include "tests/kelvox_check/test_disc.h"
#include "tests/support/qt_application.h"
#include "tests/support/qt_printers.h"
#include "tools/rar_writer/rar_blocks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kelvox {
namespace {

using test::TestDisc;

// The module the menu loads, from the build.
check::DiscReport check_disc(const QString& root) {
    return check::check_disc(
        root, [](const QString&) { return DynamicLibrary::load_file(QStringLiteral(UNRAR_MODULE)); });
}

QStringList problems_of(const check::DiscReport& report) {
    QStringList problems;
    for (const auto& problem : report.problems)
        problems.append(problem.file + ": " + problem.message);
    return problems;
}

TEST(DiscCheck, GoodDiscHasNoProblems) {
    TestDisc disc;
    const check::DiscReport report = check_disc(disc.root());
    EXPECT_EQ(problems_of(report), QStringList());
    ASSERT_EQ(report.sections.size(), 2u);
    EXPECT_EQ(report.sections[0].ticker.value_or("?"), "Najlepsze gry");
    const EntryDescription& d = report.sections[0].entries.at(0).description;
    EXPECT_EQ(d.description_lines, QStringList({"Gra akcji z widokiem z", "perspektywy pierwszej", "osoby"}));
    EXPECT_EQ(d.requirement_lines, QStringList({"Procesor 500 MHz, 128", " MB RAM"}));
    EXPECT_TRUE(d.picture_loaded);
    EXPECT_EQ(report.sections[1].entries.at(0).description.entry_type, "freeware");
    EXPECT_EQ(report.sections[1].entries.at(0).archive_files,
              QStringList({"edytor/edytor.exe", "edytor/czytaj.txt"}));
    // Without the module an archive is not passed unseen.
    const check::DiscReport unchecked =
        check::check_disc(disc.root(), [](const QString&) { return nullptr; });
    EXPECT_EQ(
        problems_of(unchecked),
        QStringList({"prog\\edytor\\edytor.rar: the archive is not checked: the RAR module (libunrar.so) "
                     "could not be loaded"}));
}

// A RAR5 archive whose first file claims a dictionary of 128 KiB << `log`, its header's CRC made right.
QByteArray with_dictionary(QByteArray archive, unsigned log) {
    qsizetype at = 8; // the signature
    const auto vint = [&](qsizetype& pos) {
        std::uint64_t value = 0;
        for (int shift = 0;; shift += 7) {
            const auto byte = std::uint8_t(archive[pos++]);
            value |= std::uint64_t(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return value;
        }
    };
    for (;;) {
        qsizetype pos = at + 4;
        const qsizetype size = qsizetype(vint(pos));
        const qsizetype header = pos;
        const std::uint64_t type = vint(pos), flags = vint(pos);
        if (flags & 1)
            vint(pos);
        const std::uint64_t data = flags & 2 ? vint(pos) : 0;
        if (type != 2) {
            at = header + size + qsizetype(data);
            continue;
        }
        const std::uint64_t file_flags = vint(pos);
        vint(pos), vint(pos); // unpacked size, attributes
        pos += (file_flags & 2 ? 4 : 0) + (file_flags & 4 ? 4 : 0);
        qsizetype compression = pos;
        const std::uint64_t info = (vint(pos) & ~(std::uint64_t(0x0F) << 10)) | (std::uint64_t(log) << 10);
        for (std::uint64_t rest = info; compression < pos; rest >>= 7, ++compression)
            archive[compression] = char((rest & 0x7F) | (compression + 1 < pos ? 0x80 : 0));
        const RarBytes block =
            rar5_block(RarBytes(archive.begin() + header, archive.begin() + header + size));
        return archive.left(at) +
               QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size())) +
               archive.mid(header + size);
    }
}

TEST(DiscCheck, ArchiveClaimingADictionaryPastTheModulesLimit) {
    QFile fixture(qEnvironmentVariable("KELVOX_SHARED_DIR", "../shared") +
                  "/fixtures/rar/libarchive/rar5-compressed/test_read_format_rar5_compressed.rar");
    if (!fixture.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no RAR fixtures";
    const QByteArray archive = fixture.readAll();
    TestDisc disc;
    disc.write("prog/edytor/edytor.rar", with_dictionary(archive, 9)); // 64 MiB, the most the module takes
    EXPECT_EQ(problems_of(check_disc(disc.root())), QStringList());
    disc.write("prog/edytor/edytor.rar", with_dictionary(archive, 10)); // 128 MiB
    EXPECT_EQ(problems_of(check_disc(disc.root())),
              QStringList({"prog\\edytor\\edytor.rar: test.bin in the archive cannot be unpacked: damaged or "
                           "encrypted data, or a dictionary larger than the module handles"}));
}

struct Breakage {
    const char* what;
    std::function<void(const TestDisc&)> apply;
    QString file;
    QString message; // a part of the problem's text
};

// Noise, so that the scan data is the bulk of the file and a cut falls inside it.
QByteArray noisy_jpeg() {
    QImage picture(96, 96, QImage::Format_RGB32);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x)
            picture.setPixel(x, y, qRgb((x * 37 + y * 11) & 0xFF, (x * y) & 0xFF, (x ^ y) * 2 & 0xFF));
    return test::rgb_jpeg(picture);
}

// An archive of the older format: its start with the main header's flags, then one file of two bytes.
QByteArray rar4_archive(unsigned main_flags, unsigned file_flags) {
    RarBytes bytes = rar4_start(main_flags);
    append(
        bytes,
        rar4_header({.flags = rar4::has_data | file_flags, .name = "tajne.txt", .packed = 2, .unpacked = 2}));
    append(bytes, {'o', 'k'});
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

void link_to(const TestDisc& disc, const QString& target, const QString& relative) {
    disc.remove(relative);
    ASSERT_TRUE(QFile::link(target, disc.absolute(relative)));
}

TEST(DiscCheck, EachKindOfProblemIsReported) {
    test::qt_application(); // ticker lines are measured in a font
    const QByteArray damaged_jpeg = noisy_jpeg().left(noisy_jpeg().size() * 3 / 4);
    const QByteArray half_bitmap = test::bitmap(550, 350).left(test::bitmap(550, 350).size() / 2);
    const QString slots21 = [] {
        QString index;
        for (int i = 1; i <= 21; ++i)
            index +=
                QString(
                    "<nazwa>S%1</nazwa><nazwa_e>E</nazwa_e><sciezka_exe>gry\\demo1\\setup.exe</sciezka_exe>"
                    "<sciezka>gry\\demo1</sciezka>\n")
                    .arg(i);
        return index;
    }();
    const Breakage cases[] = {
        {"missing skin bitmap", [](const TestDisc& d) { d.remove("menu/menu_s.bmp"); }, "menu\\menu_s.bmp",
         "missing skin bitmap"},
        {"invalid skin bitmap", [](const TestDisc& d) { d.write("menu/pasek.bmp", "not a bitmap"); },
         "menu\\pasek.bmp", "not a valid bitmap"},
        {"skin bitmap too small",
         [](const TestDisc& d) { d.write("menu/panel.bmp", test::bitmap(549, 350)); }, "menu\\panel.bmp",
         "549 × 350 pixels, smaller than the 550 × 350"},
        {"image list cell too small",
         [](const TestDisc& d) { d.write("menu/scroll2.bmp", test::bitmap(20, 19)); }, "menu\\scroll2.bmp",
         "smaller than the 20 × 20"},
        {"missing wallpaper", [](const TestDisc& d) { d.remove("menu/tapeta#2.bmp"); }, "menu\\tapeta#2.bmp",
         "missing skin bitmap"},
        {"missing font", [](const TestDisc& d) { d.remove("menu/Digirt__.ttf"); }, "menu\\Digirt__.ttf",
         "missing or empty"},
        {"missing catalogue", [](const TestDisc& d) { d.remove("menu/index.xml"); }, "menu\\index.xml",
         "Cannot open file menu\\index.xml"},
        {"missing ticker file", [](const TestDisc& d) { d.remove("menu/reklamy.txt"); }, "menu\\reklamy.txt",
         "Cannot open file menu\\reklamy.txt"},
        {"section without a ticker line",
         [](const TestDisc& d) { d.write("menu/reklamy.txt", "Tylko jedna\r\n"); }, "menu\\reklamy.txt",
         "no line for section 2 (\"Programy\")"},
        {"missing info.xml", [](const TestDisc& d) { d.remove("prog/edytor/info.xml"); },
         "prog\\edytor\\info.xml", "missing info.xml"},
        {"missing entry directory",
         [](const TestDisc& d) {
             d.write("menu/index.xml", "<nazwa>G</nazwa><sciezka_exe>gry\\demo1\\setup.exe</sciezka_exe>"
                                       "<sciezka>gry\\brak</sciezka>\n");
             d.write("menu/reklamy.txt", "x\n");
         },
         "gry\\brak\\info.xml", "directory does not exist"},
        {"first picture does not load", [](const TestDisc& d) { d.write("gry/demo1/shot1.jpg", "junk"); },
         "gry\\demo1\\shot1.jpg", "the first picture does not load"},
        {"first picture missing", [](const TestDisc& d) { d.remove("gry/demo1/shot1.jpg"); },
         "gry\\demo1\\shot1.jpg", "Cannot open file"},
        {"second picture CMYK",
         [](const TestDisc& d) { d.write("gry/demo1/shot2.jpg", test::cmyk_jpeg(8, 8)); },
         "gry\\demo1\\shot2.jpg", "picture 2 does not load"},
        {"entry file missing", [](const TestDisc& d) { d.remove("prog/edytor/edytor.rar"); },
         "prog\\edytor\\edytor.rar", "the file of entry \"Edytor\" does not exist"},
        {"21st section", [&](const TestDisc& d) { d.write("menu/index.xml", slots21.toUtf8()); },
         "menu\\index.xml", "section \"S21\" is a section beyond the 20"},
        {"entry of the 21st section", [&](const TestDisc& d) { d.write("menu/index.xml", slots21.toUtf8()); },
         "menu\\index.xml", "entry \"gry\\demo1\" belongs to a section beyond the 20"},
        {"entry before any section",
         [](const TestDisc& d) {
             d.write("menu/index.xml", QByteArray("<sciezka>gry\\demo1</sciezka>") + test::kGoodIndex);
         },
         "menu\\index.xml", "entry \"gry\\demo1\" comes before any section"},
        {"tag with a blank",
         [](const TestDisc& d) {
             d.write("menu/index.xml", QByteArray(test::kGoodIndex) + "<nazwa >X</nazwa>");
         },
         "menu\\index.xml", "tag <nazwa > is ignored"},
        {"tag in capitals",
         [](const TestDisc& d) { d.write("prog/edytor/info.xml", "<_nazwa>E</_nazwa><_OPIS>x</_OPIS>"); },
         "prog\\edytor\\info.xml", "tag <_OPIS> is ignored: only the bare lower-case <_opis> counts"},
        {"text before the first tag",
         [](const TestDisc& d) { d.write("menu/index.xml", QByteArray(" ") + test::kGoodIndex); },
         "menu\\index.xml", "text \" \" before the first tag opens a section"},
        {"catalogue tag in info.xml",
         [](const TestDisc& d) { d.write("prog/edytor/info.xml", "<_nazwa>E</_nazwa><nazwa>Nowa</nazwa>"); },
         "prog\\edytor\\info.xml", "catalogue tag <nazwa> in an entry description"},
        {"skin bitmap cut halfway", [&](const TestDisc& d) { d.write("menu/panel.bmp", half_bitmap); },
         "menu\\panel.bmp", "not a valid bitmap (Bitmap image is not valid)"},
        {"skin bitmap a link to a device",
         [](const TestDisc& d) { link_to(d, "/dev/zero", "menu/pasek.bmp"); }, "menu\\pasek.bmp",
         "not a valid bitmap (Cannot open file menu\\pasek.bmp: it lies outside the disc"},
        {"first picture cut short", [&](const TestDisc& d) { d.write("gry/demo1/shot1.jpg", damaged_jpeg); },
         "gry\\demo1\\shot1.jpg", "picture 1 is damaged (Premature end of JPEG file)"},
        {"second picture cut short", [&](const TestDisc& d) { d.write("gry/demo1/shot2.jpg", damaged_jpeg); },
         "gry\\demo1\\shot2.jpg", "picture 2 is damaged"},
        {"picture named out of the disc",
         [](const TestDisc& d) {
             d.write("prog/edytor/info.xml",
                     "<_obrazek>..\\..\\..\\..\\..\\..\\..\\..\\dev\\zero</_obrazek>");
         },
         "..\\..\\..\\..\\..\\..\\..\\..\\dev\\zero", "lies outside the disc"},
        {"catalogue a FIFO",
         [](const TestDisc& d) {
             d.remove("menu/index.xml");
             ASSERT_EQ(mkfifo(QFile::encodeName(d.absolute("menu/index.xml")).constData(), 0600), 0);
         },
         "menu\\index.xml", "Cannot open file menu\\index.xml: it is not a regular file"},
        {"ticker file a link to a device",
         [](const TestDisc& d) { link_to(d, "/dev/zero", "menu/reklamy.txt"); }, "menu\\reklamy.txt",
         "lies outside the disc"},
        {"ticker file beyond its cap",
         [](const TestDisc& d) { d.write("menu/reklamy.txt", QByteArray(3 << 20, 'x')); },
         "menu\\reklamy.txt", "more than the 2097152 the menu reads"},
        {"ticker line wider than the strip",
         [](const TestDisc& d) { d.write("menu/reklamy.txt", "Gry\r\n" + QByteArray(300, 'W') + "\r\n"); },
         "menu\\reklamy.txt", "the line for section 2 is"},
        {"entry file a link out of the disc",
         [](const TestDisc& d) { link_to(d, "/etc/passwd", "gry/demo1/setup.exe"); }, "gry\\demo1\\setup.exe",
         "the file of entry \"Demo jeden\" is not a file of the disc: it lies outside the disc "
         "(/etc/passwd)"},
        {"program neither Windows nor executable",
         [](const TestDisc& d) { d.write("gry/demo1/setup.exe", "#!/bin/sh\nexec ./gra\n"); },
         "gry\\demo1\\setup.exe",
         "entry \"Demo jeden\" cannot start: it is not a Windows program (no MZ header) "
         "and not executable here"},
        {"executable script without #!",
         [](const TestDisc& d) {
             d.write("gry/demo1/setup.exe", "exec ./gra\n");
             QFile::setPermissions(d.absolute("gry/demo1/setup.exe"), QFile::ReadOwner | QFile::ExeOwner);
         },
         "gry\\demo1\\setup.exe", "as a script it lacks the #! line"},
        {"archive with an encrypted file",
         [](const TestDisc& d) { d.write("prog/edytor/edytor.rar", rar4_archive(0, 0x04)); },
         "prog\\edytor\\edytor.rar", "tajne.txt in the archive is encrypted"},
        {"archive with encrypted headers",
         [](const TestDisc& d) {
             d.write("prog/edytor/edytor.rar", rar4_archive(rar4::main_encrypted_headers, 0));
         },
         "prog\\edytor\\edytor.rar", "the archive cannot be opened: damaged or encrypted data"},
        {"archive with a damaged file header",
         [](const TestDisc& d) {
             QFile file(d.absolute("prog/edytor/edytor.rar"));
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             QByteArray bytes = file.readAll();
             bytes[bytes.indexOf("edytor/edytor.exe")] = 'E'; // its header's CRC no longer matches
             file.seek(0);
             file.write(bytes);
         },
         "prog\\edytor\\edytor.rar", "a header after 0 file(s) cannot be read"},
        {"title message box",
         [](const TestDisc& d) {
             d.write("prog/edytor/info.xml", "<title>Edytor</title><_nazwa>E</_nazwa>");
         },
         "prog\\edytor\\info.xml", "a message box \"Title : Edytor\" would be shown"},
    };
    for (const auto& c : cases) {
        TestDisc disc;
        c.apply(disc);
        const check::DiscReport report = check_disc(disc.root());
        bool found = false;
        for (const auto& problem : report.problems)
            found = found || (problem.file == c.file && problem.message.contains(c.message));
        EXPECT_TRUE(found) << c.what << "; got: " << problems_of(report).join(" | ").toStdString();
    }
}

// A script the Linux menu runs and a batch file the disc's Windows menu runs are both fine.
TEST(DiscCheck, ProgramsTheMenusStartPass) {
    TestDisc disc;
    disc.write("gry/demo1/setup.exe", "#!/bin/sh\nexec ./gra\n");
    QFile::setPermissions(disc.absolute("gry/demo1/setup.exe"), QFile::ReadOwner | QFile::ExeOther);
    disc.write("menu/index.xml", QByteArray(test::kGoodIndex).replace("edytor.rar", "instaluj.bat"));
    disc.write("prog/edytor/instaluj.bat", "@echo off\r\n");
    const check::DiscReport report = check_disc(disc.root());
    EXPECT_EQ(problems_of(report), QStringList());
    EXPECT_TRUE(report.warnings.empty());
}

TEST(DiscCheck, EntriesAreReadAsTheFirstChoiceAfterTheStart) {
    TestDisc disc;
    // The catalogue ends inside an "_typ" element; a text before the first tag of info.xml then becomes the
    // type.
    disc.write("menu/index.xml", QByteArray(test::kGoodIndex) + "<_typ>");
    disc.write("prog/edytor/info.xml", "zapomniany<_nazwa>E</_nazwa>");
    const check::DiscReport report = check_disc(disc.root());
    EXPECT_EQ(report.sections.at(1).entries.at(0).description.entry_type, "zapomniany");
    EXPECT_TRUE(problems_of(report).join("\n").contains("entry description tag <_typ> in the catalogue"));
    EXPECT_TRUE(problems_of(report).join("\n").contains("text \"zapomniany\" before the first tag is taken"));
}

// The checker program itself, as an author runs it.
struct CheckerRun {
    int status;
    QByteArray out;
};

CheckerRun run_checker(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(KELVOX_CHECK_PROGRAM), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput()};
}

TEST(CheckerProgram, ExitStatus) {
    TestDisc good;
    TestDisc broken;
    broken.remove("gry/demo1/setup.exe");
    // Where the report's folder would go.
    broken.write("kelvox-report", "a file");
    const struct {
        QStringList arguments;
        int status;
    } cases[] = {
        {{good.root()}, 0},
        {{"--json", good.root()}, 0},
        {{broken.root()}, 1},
        {{"--report", good.root()}, 0},
        {{"--report", broken.root()}, 2},
        {{}, 2},
        {{good.root(), broken.root()}, 2},
        {{"--yaml", good.root()}, 2},
        {{good.absolute("nie_ma")}, 2},
        {{good.absolute("menu/index.xml")}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run_checker(c.arguments).status, c.status) << c.arguments.join(" ").toStdString();
}

TEST(CheckerProgram, JsonHoldsTheTextsAsTheMenuDoes) {
    TestDisc disc;
    disc.write(
        "menu/index.xml",
        QByteArray(test::kGoodIndex).replace("Programy", "  Programy ż").replace("edytor.rar", "EDYTOR.RAR"));
    disc.write("prog/edytor/EDYTOR.RAR", "Rar!");
    disc.write("menu/reklamy.txt", encode_windows_1250(QString::fromUtf8("Gry – nowości\n")));
    const CheckerRun run = run_checker({"--json", disc.root()});
    EXPECT_EQ(run.status, 1);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    const QJsonArray sections = document.object()["sections"].toArray();
    ASSERT_EQ(sections.size(), 2);
    EXPECT_EQ(sections[0]["ticker"].toString(), QString::fromUtf8("Gry – nowości"));
    EXPECT_TRUE(sections[1]["ticker"].isNull());
    EXPECT_EQ(sections[1]["name"].toString(), QString::fromUtf8("  Programy ż"));
    const QJsonObject demo = sections[0]["entries"][0].toObject();
    EXPECT_EQ(demo["path"].toString(), "gry\\demo1");
    EXPECT_EQ(demo["exe_path"].toString(), "gry\\demo1\\setup.exe");
    EXPECT_EQ(demo["action"].toString(), "program");
    const QJsonObject description = demo["description"].toObject();
    EXPECT_EQ(description["requirement_lines"].toArray(), QJsonArray({"Procesor 500 MHz, 128", " MB RAM"}));
    EXPECT_EQ(description["picture_names"].toArray(),
              QJsonArray({"gry\\demo1\\shot1.jpg", "gry\\demo1\\shot2.jpg"}));
    EXPECT_EQ(description["type"].toString(), "wersja demonstracyjna");
    EXPECT_TRUE(description["picture_loaded"].toBool());
    // The ".rar" test is case-sensitive: an upper-case name is opened, not unpacked.
    EXPECT_EQ(sections[1]["entries"][0]["action"].toString(), "open");
    const QJsonArray problems = document.object()["problems"].toArray();
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0]["file"].toString(), "menu\\reklamy.txt");
}

} // namespace
} // namespace kelvox
