// Reading the disc's files: only regular files inside the disc's root, within the size of their kind.
#include "platform/disc_file.h"

#include "tests/support/disc_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kelvox {
namespace {

// The reason a read was refused, or "(read N bytes)".
QString outcome(const QString& name, qint64 cap) {
    try {
        return QStringLiteral("(read %1 bytes)").arg(read_disc_file(name, cap).size());
    } catch (const DiscFileError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot open file ") + name);
        return error.reason();
    }
}

TEST(DiscFile, OnlyRegularFilesInsideTheRootWithinTheirCapAreRead) {
    test::DiscFixture outside;
    outside.write("obcy.txt", "spoza płyty");
    test::DiscFixture disc;
    disc.write("menu/index.xml", "<nazwa>Gry</nazwa>");
    disc.write("menu/duzy.txt", QByteArray(101, 'x'));
    disc.make_directory("menu/katalog");
#ifndef _WIN32 // FIFOs, devices and links of the Linux file system a disc is read from there
    ASSERT_EQ(mkfifo(QFile::encodeName(disc.absolute("menu/kolejka.xml")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", disc.absolute("menu/zero.bmp")));
    ASSERT_TRUE(QFile::link(disc.absolute("menu/index.xml"), disc.absolute("menu/dowiazanie.xml")));
    ASSERT_TRUE(QFile::link(outside.absolute("obcy.txt"), disc.absolute("menu/obcy.txt")));
#endif
    ASSERT_TRUE(QDir::setCurrent(disc.root()));
    const DiscRoot root(disc.root());

    const struct {
        const char* name;
        const char* outcome; // the start of the reason
    } cases[] = {
        {"menu\\index.xml", "(read 18 bytes)"},
        {"MENU\\INDEX.XML", "(read 18 bytes)"},
#ifndef _WIN32
        {"menu\\dowiazanie.xml", "(read 18 bytes)"}, // a link that stays on the disc
#endif
        {"menu\\..\\menu\\index.xml", "(read 18 bytes)"},
        {"menu\\duzy.txt", "it has 101 bytes, more than the 100"},
        {"menu\\brak.xml", "it does not exist"},
        {"menu\\katalog", "it is not a regular file"},
#ifndef _WIN32
        {"menu\\kolejka.xml", "it is not a regular file"},
        {"menu\\zero.bmp", "it lies outside the disc (/dev/zero)"},
        {"menu\\obcy.txt", "it lies outside the disc"},
#endif
        {"..\\..\\..\\..\\..\\..\\..\\..\\dev\\zero", "it lies outside the disc"},
        {"/dev/zero", "it lies outside the disc"},
        {"", "no file name"},
    };
    for (const auto& c : cases) {
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(outcome(QString::fromUtf8(c.name), 100).startsWith(QString::fromUtf8(c.outcome)))
            << c.name << ": " << outcome(QString::fromUtf8(c.name), 100).toStdString();
        EXPECT_LT(clock.elapsed(), 2000) << c.name;
    }
}

TEST(DiscFile, WithoutARootFilesAreTakenFromAnywhereButStillOnlyRegularOnes) {
    test::DiscFixture disc;
    disc.write("plik.txt", "abc");
    EXPECT_EQ(outcome(disc.absolute("plik.txt"), 100), "(read 3 bytes)");
    EXPECT_EQ(outcome("/dev/zero", 100), "it is not a regular file");
    {
        const DiscRoot root(disc.root() + "/nie-ma");
        EXPECT_TRUE(outcome(disc.absolute("plik.txt"), 100).startsWith("it lies outside the disc"))
            << "a root that does not resolve lets nothing through";
    }
    EXPECT_EQ(outcome(disc.absolute("plik.txt"), 100), "(read 3 bytes)") << "the root went with its holder";
}

#ifndef _WIN32
// A file that holds more than its size said when it was opened (as one that grows while read does):
// read whole within the cap, refused past it.
TEST(DiscFile, AFileLongerThanItsSizeIsReadWholeOrRefusedAtTheCap) {
    const QString grows = QStringLiteral("/proc/self/maps"); // size 0, some kilobytes of text
    ASSERT_EQ(QFileInfo(grows).size(), 0);
    const QByteArray whole = read_disc_file(grows, 1 << 20);
    EXPECT_GT(whole.size(), 100);
    EXPECT_TRUE(whole.endsWith('\n'));
    EXPECT_EQ(outcome(grows, 50), "it grew beyond 50 bytes while read");
}
#endif

} // namespace
} // namespace kelvox
