#include "platform/posix/posix_launcher.h"

#include "tests/support/disc_fixture.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace kelvox {
namespace {

TEST(ProgramKind, HeaderFirstThenName) {
    struct Case {
        const char* name;
        QByteArray head;
        ProgramKind kind;
    };
    const Case cases[] = {
        {"setup.exe", QByteArray("MZ\x90\x00", 4), ProgramKind::windows},
        {"SETUP.EXE", "MZ", ProgramKind::windows},
        {"notes.exe.txt", "MZ", ProgramKind::windows},
        {"install.bat", "MZ", ProgramKind::windows},
        {"setup.exe", "#!/bin/sh", ProgramKind::native},
        {"setup.exe", "Mz", ProgramKind::native},
        {"setup.exe", "M", ProgramKind::native},
        {"setup.exe", "", ProgramKind::native},
        {"game",
         "\x7f"
         "ELF",
         ProgramKind::native},
        {"install.bat", "@echo off", ProgramKind::batch},
        {"INSTALL.BAT", "", ProgramKind::batch},
        {"Install.Bat", "re", ProgramKind::batch},
        {"install.bat.txt", "@e", ProgramKind::native},
        {"batch", "@e", ProgramKind::native},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " / " + c.head.toStdString());
        EXPECT_EQ(program_kind(QString::fromLatin1(c.name), c.head), c.kind);
    }
}

TEST(LaunchCommand, DirectOrThroughWine) {
    const QString dir = QStringLiteral("/disc/demo");
    const QString wine = QStringLiteral("/usr/bin/wine");
    struct Case {
        const char* name;
        QString program;
        ProgramKind kind;
        QString wine;
        LaunchCommand expected;
    };
    const Case cases[] = {
        {"native", dir + "/run.sh", ProgramKind::native, wine, {dir + "/run.sh", {}, dir}},
        {"native without wine", dir + "/run.sh", ProgramKind::native, {}, {dir + "/run.sh", {}, dir}},
        {"windows", dir + "/setup.exe", ProgramKind::windows, wine, {wine, {dir + "/setup.exe"}, dir}},
        {"batch", dir + "/Install.bat", ProgramKind::batch, wine, {wine, {"cmd", "/c", "Install.bat"}, dir}},
        {"batch below",
         dir + "/bin/go.bat",
         ProgramKind::batch,
         wine,
         {wine, {"cmd", "/c", "bin\\go.bat"}, dir}},
        {"batch with spaces",
         dir + "/my setup.bat",
         ProgramKind::batch,
         wine,
         {wine, {"cmd", "/c", "my setup.bat"}, dir}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LaunchCommand command = launch_command(c.program, dir, c.kind, c.wine);
        EXPECT_EQ(command.program, c.expected.program);
        EXPECT_EQ(command.arguments, c.expected.arguments);
        EXPECT_EQ(command.working_directory, c.expected.working_directory);
    }
}

TEST(LaunchCommand, WindowsProgramWithoutWineIsReported) {
    for (const ProgramKind kind : {ProgramKind::windows, ProgramKind::batch}) {
        try {
            launch_command(QStringLiteral("/disc/demo/setup.exe"), QStringLiteral("/disc/demo"), kind, {});
            ADD_FAILURE() << "no error without wine";
        } catch (const PlatformError& error) {
            // The reader's language, as every message of the menu.
            EXPECT_TRUE(
                error.message().startsWith(QStringLiteral("Nie mogę uruchomić /disc/demo/setup.exe:")));
            EXPECT_TRUE(error.message().contains(QStringLiteral("wine")));
        }
    }
}

// Real processes: small shell scripts stand in for the programs and for wine and xdg-open. Each
// writes its working directory and arguments to a report file, renamed into place when complete.
class PosixLauncherTest : public ::testing::Test {
protected:
    static constexpr const char* report_body =
        "{ pwd -P; for a in \"$@\"; do echo \"$a\"; done; } > \"%1.tmp\" && "
        "mv \"%1.tmp\" \"%1\"\n";

    void write_script(const QString& relative, const QString& report, const QByteArray& head = "#!/bin/sh\n",
                      bool executable = true) {
        disc_.write(relative,
                    head + QString::fromLatin1(report_body).arg(disc_.root() + "/" + report).toUtf8());
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            permissions |= QFile::ExeOwner;
        QFile::setPermissions(disc_.root() + "/" + relative, permissions);
    }

    // The report's lines once it exists; empty when nothing came within the bound.
    QStringList wait_for_report(const QString& report) const {
        const QString path = disc_.root() + "/" + report;
        QDeadlineTimer deadline(10000);
        while (!QFileInfo::exists(path) && !deadline.hasExpired())
            QThread::msleep(20);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString real(const QString& relative) const {
        return QFileInfo(disc_.root() + "/" + relative).canonicalFilePath();
    }

    test::DiscFixture disc_;
};

TEST_F(PosixLauncherTest, StartsANativeProgramInItsDirectory) {
    write_script(QStringLiteral("Entry Dir/sub/Run.sh"), QStringLiteral("native.out"));
    disc_.make_directory(QStringLiteral("bin"));
    PosixLauncher launcher({disc_.root() + "/bin"});
    // Named as a disc names it: backslashes and another letter case.
    const QString directory =
        QString(disc_.root() + "\\entry dir\\SUB").replace(QLatin1Char('/'), QLatin1Char('\\'));
    ASSERT_TRUE(launcher.start_program(QStringLiteral("RUN.SH"), directory));
    EXPECT_EQ(wait_for_report(QStringLiteral("native.out")),
              QStringList({real(QStringLiteral("Entry Dir/sub"))}));
}

TEST_F(PosixLauncherTest, StartsWindowsProgramsThroughWine) {
    write_script(QStringLiteral("bin/wine"), QStringLiteral("wine.out"));
    disc_.write(QStringLiteral("demo/setup.exe"), QByteArray("MZ\x90\x00 not really a program", 26));
    disc_.write(QStringLiteral("demo/Install.BAT"), "@echo off\r\n");
    PosixLauncher launcher({disc_.root() + "/bin"});
    const QString demo = real(QStringLiteral("demo"));

    ASSERT_TRUE(launcher.start_program(QStringLiteral("setup.exe"), demo));
    EXPECT_EQ(wait_for_report(QStringLiteral("wine.out")), QStringList({demo, demo + "/setup.exe"}));

    QFile::remove(disc_.root() + "/wine.out");
    ASSERT_TRUE(launcher.start_program(QStringLiteral("Install.BAT"), demo));
    EXPECT_EQ(
        wait_for_report(QStringLiteral("wine.out")),
        QStringList({demo, QStringLiteral("cmd"), QStringLiteral("/c"), QStringLiteral("Install.BAT")}));
}

TEST_F(PosixLauncherTest, ReportsAMissingWine) {
    disc_.make_directory(QStringLiteral("empty"));
    disc_.write(QStringLiteral("demo/setup.exe"), "MZ");
    disc_.write(QStringLiteral("demo/install.bat"), "@echo off\r\n");
    write_script(QStringLiteral("demo/native.exe"), QStringLiteral("native.out"));
    PosixLauncher launcher({disc_.root() + "/empty"});
    const QString demo = disc_.root() + "/demo";
    EXPECT_THROW(launcher.start_program(QStringLiteral("setup.exe"), demo), PlatformError);
    EXPECT_THROW(launcher.start_program(QStringLiteral("install.bat"), demo), PlatformError);
    // A program of this system named like a Windows one needs no wine.
    ASSERT_TRUE(launcher.start_program(QStringLiteral("native.exe"), demo));
    EXPECT_EQ(wait_for_report(QStringLiteral("native.out")), QStringList({real(QStringLiteral("demo"))}));
}

TEST_F(PosixLauncherTest, ProgramsThatCannotStart) {
    write_script(QStringLiteral("demo/plain.sh"), QStringLiteral("plain.out"), "#!/bin/sh\n", false);
    disc_.make_directory(QStringLiteral("demo/folder.exe"));
    disc_.write(QStringLiteral("demo/setup.exe"), "MZ");
    PosixLauncher launcher({disc_.root() + "/empty"});
    const QString demo = disc_.root() + "/demo";
    for (const char* name : {"missing.exe", "plain.sh", "folder.exe"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(launcher.start_program(QString::fromLatin1(name), demo));
    }
    // A missing directory is a missing program, even a Windows one.
    EXPECT_FALSE(launcher.start_program(QStringLiteral("setup.exe"), disc_.root() + "/nowhere"));
}

TEST_F(PosixLauncherTest, OpensDocumentsWithTheDesktop) {
    write_script(QStringLiteral("bin/xdg-open"), QStringLiteral("open.out"));
    disc_.write(QStringLiteral("Docs/ReadMe.txt"), "text");
    PosixLauncher launcher({disc_.root() + "/bin"});
    const QString docs = real(QStringLiteral("Docs"));
    EXPECT_FALSE(launcher.open_document(QStringLiteral("missing.txt"), docs));
    ASSERT_TRUE(launcher.open_document(QStringLiteral("readme.TXT"), disc_.root() + "\\docs"));
    EXPECT_EQ(wait_for_report(QStringLiteral("open.out")), QStringList({docs, docs + "/ReadMe.txt"}));
}

} // namespace
} // namespace kelvox
