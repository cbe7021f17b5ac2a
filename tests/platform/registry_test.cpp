#include "platform/posix/posix_registry.h"
#include "platform/registry/registry_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvox {
namespace {

using Status = RegistryReadStatus;

const QString kKeyPath = QStringLiteral("\\SOFTWARE\\Kelvox cover menu");
const QByteArray kHeader = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\n";

class RegistryFileTest : public testing::Test {
protected:
    QString path() const { return dir_.filePath(QStringLiteral("registry.reg")); }
    void write_file(const QByteArray& bytes) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    QByteArray file_bytes() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList directory_entries() const {
        return QDir(dir_.path())
            .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden | QDir::System);
    }
    std::unique_ptr<RegistryKey> open(const QString& key_path = kKeyPath, bool create = false) {
        return registry_.open_key(RegistryRoot::local_machine, key_path, create);
    }

    QTemporaryDir dir_;
    FileRegistry registry_{path()};
};

struct ReadCase {
    const char* line; // one value line under the key
    const char* name;
    Status dword_status;
    std::uint32_t dword;
    Status string_status;
    const char* text;
};

TEST_F(RegistryFileTest, ReadsEachValueByItsType) {
    const ReadCase cases[] = {
        {"\"PELNY_EKRAN\"=dword:00000001", "PELNY_EKRAN", Status::ok, 1, Status::wrong_type, ""},
        {"\"PELNY_EKRAN\"=dword:00000001", "pelny_ekran", Status::ok, 1, Status::wrong_type, ""},
        {"\"D\"=DWORD:FFFFFFFF", "D", Status::ok, 0xFFFFFFFF, Status::wrong_type, ""},
        {"\"D\"=dword:2", "D", Status::ok, 2, Status::wrong_type, ""},
        {"\"D\"=dword:123456789", "D", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"D\"=dword:0x10", "D", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"D\"=dword:-1", "D", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"D\"=dword:", "D", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"TAPETA\"=\"tapeta.bmp\"", "Tapeta", Status::wrong_type, 0, Status::ok, "tapeta.bmp"},
        {"\"S\"=\"C:\\\\gry\\\\\\\"x\\\"\"", "S", Status::wrong_type, 0, Status::ok, "C:\\gry\\\"x\""},
        {"\"S\"=\"\"", "S", Status::wrong_type, 0, Status::ok, ""},
        {"\"S\" = \"spaced\"  ", "S", Status::wrong_type, 0, Status::ok, "spaced"},
        {"\"S\"=\"unterminated", "S", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"S\"=\"bad \\n escape\"", "S", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"S\"=\"x\" trailing", "S", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"S\"=bare", "S", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"E\"=hex(2):25,54,45,4d,50,25,5c,61,00", "E", Status::wrong_type, 0, Status::ok, "%TEMP%\\a"},
        {"\"E\"=hex(2):25,54,45,\\\n  4d,50,25,00", "E", Status::wrong_type, 0, Status::ok, "%TEMP%"},
        {"\"E\"=hex(2):61,62", "E", Status::wrong_type, 0, Status::ok, "ab"},
        {"\"E\"=hex(2):6g,00", "E", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"S\"=hex(1):61,62,00,63,00", "S", Status::wrong_type, 0, Status::ok, "ab"},
        {"\"D\"=hex(4):02,01,00,00", "D", Status::ok, 0x102, Status::wrong_type, ""},
        {"\"D\"=hex(4):02,01,00", "D", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"B\"=hex:01,02", "B", Status::wrong_type, 0, Status::wrong_type, ""},
        {"\"M\"=hex(7):61,00,00", "M", Status::wrong_type, 0, Status::wrong_type, ""},
        {"@=\"unnamed\"", "", Status::wrong_type, 0, Status::ok, "unnamed"},
        {"\"GONE\"=-", "GONE", Status::missing, 0, Status::missing, ""},
        {"\"OTHER\"=dword:00000001", "PELNY_EKRAN", Status::missing, 0, Status::missing, ""},
        {"; \"PELNY_EKRAN\"=dword:00000001", "PELNY_EKRAN", Status::missing, 0, Status::missing, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        write_file(kHeader + c.line + "\n");
        const auto key = open();
        ASSERT_TRUE(key);
        const RegistryDword dword = key->read_dword(QString::fromUtf8(c.name));
        EXPECT_EQ(dword.status, c.dword_status);
        EXPECT_EQ(dword.value, c.dword);
        const RegistryString string = key->read_string(QString::fromUtf8(c.name));
        EXPECT_EQ(string.status, c.string_status);
        EXPECT_EQ(string.value, QString::fromUtf8(c.text));
    }
}

TEST_F(RegistryFileTest, ReadsTextInUtf8OrInThePolishCodePage) {
    const QString polish = QString::fromUtf8("tło żółte.bmp");
    for (const QByteArray& encoded : {polish.toUtf8(), QByteArray("t\xB3o \xBF\xF3\xB3te.bmp")}) {
        write_file(kHeader + "\"TAPETA\"=\"" + encoded + "\"\n\"E\"=hex(2):" + encoded.toHex(',') + ",00\n");
        const auto key = open();
        ASSERT_TRUE(key);
        EXPECT_EQ(key->read_string(QStringLiteral("TAPETA")).value, polish);
        EXPECT_EQ(key->read_string(QStringLiteral("E")).value, polish);
    }
}

TEST_F(RegistryFileTest, WritesANewFileInTheEditorsFormat) {
    const QString nested = dir_.filePath(QStringLiteral("a/b/registry.reg"));
    FileRegistry registry(nested);
    auto key = registry.open_key(RegistryRoot::local_machine, kKeyPath, true);
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->write_dword(QStringLiteral("PELNY_EKRAN"), 1));
    EXPECT_TRUE(key->write_string(QStringLiteral("TAPETA"), QStringLiteral("tapeta.bmp")));
    EXPECT_TRUE(key->write_dword(QStringLiteral("PELNY_EKRAN"), 0xABCDEF));
    QFile file(nested);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), "REGEDIT4\n"
                                            "\n"
                                            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\n"
                                            "\"PELNY_EKRAN\"=dword:00abcdef\n"
                                            "\"TAPETA\"=\"tapeta.bmp\"\n"
                                            "\n");
}

TEST_F(RegistryFileTest, WrittenStringsReadBackUnchanged) {
    const struct {
        QString text;
        const char* line;
    } cases[] = {
        {QStringLiteral("tapeta#2.bmp"), "\"S\"=\"tapeta#2.bmp\""},
        {QStringLiteral("C:\\a \"b\""), "\"S\"=\"C:\\\\a \\\"b\\\"\""},
        {QString(), "\"S\"=\"\""},
        {QString::fromUtf8("ż"), "\"S\"=\"\xC5\xBC\""},
        {QStringLiteral("two\nlines"), "\"S\"=hex(1):74,77,6f,0a,6c,69,6e,65,73,00"},
        {QStringLiteral("cut") + QChar(0) + QStringLiteral("off"), "\"S\"=\"cut\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        QFile::remove(path());
        auto key = open(kKeyPath, true);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->write_string(QStringLiteral("S"), c.text));
        EXPECT_EQ(key->read_string(QStringLiteral("S")).value, c.text.left(c.text.indexOf(QChar(0))));
        EXPECT_TRUE(file_bytes().contains("\n" + QByteArray(c.line) + "\n")) << file_bytes().constData();
    }
    auto key = open();
    EXPECT_FALSE(key->write_string(QStringLiteral("bad\nname"), QStringLiteral("x")));
    EXPECT_EQ(key->read_string(QStringLiteral("S")).value, QStringLiteral("cut"));
}

TEST_F(RegistryFileTest, NamesMatchWithoutCaseAndKeepTheirWrittenCase) {
    write_file("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KELVOX cover "
               "MENU]\r\n\"Pelny_Ekran\"=dword:00000000\r\n"
               "\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"X\"=dword:00000001\r\n");
    auto key = open(QStringLiteral("software\\kelvox COVER menu"));
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->write_dword(QStringLiteral("PELNY_EKRAN"), 1));
    EXPECT_TRUE(key->write_dword(QStringLiteral("DZWIEK"), 1));
    EXPECT_EQ(
        file_bytes().toStdString(),
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\KELVOX cover "
        "MENU]\r\n\"Pelny_Ekran\"=dword:00000001\r\n"
        "\"DZWIEK\"=dword:00000001\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"X\"=dword:00000001\r\n");
    // The same path under the other root is another key.
    EXPECT_FALSE(registry_.open_key(RegistryRoot::current_user, kKeyPath, false));
    EXPECT_TRUE(registry_.open_key(RegistryRoot::current_user, QStringLiteral("\\SOFTWARE\\OTHER"), false));
}

TEST_F(RegistryFileTest, OpeningFindsOrCreatesKeys) {
    const struct {
        const char* path;
        bool create;
        bool opens;
        bool file_changes;
    } cases[] = {
        {"\\SOFTWARE\\Kelvox cover menu", false, true, false},
        {"SOFTWARE\\Kelvox cover menu", false, true, false},
        {"\\SOFTWARE", false, true, false},          // above a section: exists, as on import
        {"", false, true, false},                    // the root itself
        {"\\SOFTWARE\\Kelvox", false, false, false}, // a prefix of a name is no key
        {"\\SOFTWARE\\Nowy", false, false, false},
        {"\\SOFTWARE\\Nowy", true, true, true},
        {"\\SOFTWARE\\Kelvox cover menu", true, true, false},
        {"\\SOFTWARE\\\\Nowy", true, false, false},
        {"\\SOFTWARE\\Nowy\\", true, false, false},
    };
    const QByteArray original = kHeader + "\"X\"=dword:00000001\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        write_file(original);
        EXPECT_EQ(open(QString::fromUtf8(c.path), c.create) != nullptr, c.opens);
        EXPECT_EQ(file_bytes() != original, c.file_changes);
    }
    write_file(original);
    ASSERT_TRUE(open(QStringLiteral("\\SOFTWARE\\Nowy"), true));
    EXPECT_EQ(file_bytes(), original + "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Nowy]\n\n");
}

TEST_F(RegistryFileTest, AMissingFileHasOnlyTheRootsAndIsNotCreatedByReading) {
    EXPECT_FALSE(open());
    EXPECT_TRUE(open(QString()));
    EXPECT_TRUE(directory_entries().isEmpty());
}

TEST_F(RegistryFileTest, AFileThatIsNoRegistryIsNeitherReadNorOverwritten) {
    const QByteArray cases[] = {
        "garbage\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\n",
        "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\n",
        QByteArray("\xFF\xFER\0E\0G\0", 8), // a UTF-16 export
        QByteArray(17 * 1024 * 1024, '\n').prepend("REGEDIT4"),
    };
    for (const auto& bytes : cases) {
        SCOPED_TRACE(bytes.left(20).toStdString());
        write_file(bytes);
        EXPECT_FALSE(open());
        EXPECT_FALSE(open(kKeyPath, true));
        EXPECT_FALSE(open(QString()));
        EXPECT_EQ(file_bytes(), bytes);
    }
    QFile::remove(path());
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("registry.reg")));
    EXPECT_FALSE(open(kKeyPath, true));
}

TEST_F(RegistryFileTest, AnEmptyFileIsAnEmptyRegistry) {
    write_file(" \n\n");
    EXPECT_FALSE(open());
    auto key = open(kKeyPath, true);
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->write_dword(QStringLiteral("X"), 1));
    EXPECT_EQ(file_bytes(), kHeader + "\"X\"=dword:00000001\n\n");
}

TEST_F(RegistryFileTest, DamagedLinesCountForNothingAndSurviveAWrite) {
    const QByteArray damaged = "REGEDIT4\n"
                               "; a comment\n"
                               "\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\n"
                               "\"PELNY_EKRAN\"=dword:00000000\n"
                               "\x01\x02 binary junk \"ANIMACJE\n"
                               "\"ANIMACJE\"=dword:zz\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu\n"
                               "\"DZWIEK\"=dword:00000001\n"
                               "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\n"
                               "\"TAPETA\"=\"brak\"\n";
    write_file(damaged);
    auto key = open();
    ASSERT_TRUE(key);
    EXPECT_EQ(key->read_dword(QStringLiteral("PELNY_EKRAN")).status, Status::ok);
    EXPECT_EQ(key->read_dword(QStringLiteral("ANIMACJE")).status, Status::wrong_type);
    // Under a header that cannot be read, and in a deletion section, values belong to no key.
    EXPECT_EQ(key->read_dword(QStringLiteral("DZWIEK")).status, Status::missing);
    EXPECT_EQ(key->read_string(QStringLiteral("TAPETA")).status, Status::missing);

    ASSERT_TRUE(key->write_dword(QStringLiteral("ANIMACJE"), 1));
    ASSERT_TRUE(key->write_dword(QStringLiteral("DZWIEK"), 0));
    QByteArray expected = damaged;
    expected.replace("\"ANIMACJE\"=dword:zz\n", "\"ANIMACJE\"=dword:00000001\n\"DZWIEK\"=dword:00000000\n");
    EXPECT_EQ(file_bytes(), expected);
}

TEST_F(RegistryFileTest, TheLastOfRepeatedSectionsAndValuesWins) {
    write_file(kHeader + "\"A\"=dword:00000001\n\"A\"=dword:00000002\n\n" + kHeader.mid(10) +
               "\"A\"=dword:00000003\n\"B\"=dword:00000004\n");
    auto key = open();
    ASSERT_TRUE(key);
    EXPECT_EQ(key->read_dword(QStringLiteral("A")).value, 3u);
    ASSERT_TRUE(key->write_dword(QStringLiteral("A"), 9));
    EXPECT_EQ(key->read_dword(QStringLiteral("A")).value, 9u);
    EXPECT_TRUE(file_bytes().contains("\"A\"=dword:00000009\n\"B\""));
}

TEST_F(RegistryFileTest, EveryOperationSeesTheFileAsItIsNow) {
    FileRegistry other(path());
    auto mine = open(kKeyPath, true);
    auto theirs = other.open_key(RegistryRoot::local_machine, kKeyPath, false);
    ASSERT_TRUE(mine && theirs);
    ASSERT_TRUE(mine->write_dword(QStringLiteral("A"), 1));
    ASSERT_TRUE(theirs->write_dword(QStringLiteral("B"), 2));
    EXPECT_EQ(mine->read_dword(QStringLiteral("B")).value, 2u);
    EXPECT_EQ(theirs->read_dword(QStringLiteral("A")).value, 1u);
    QFile::remove(path());
    EXPECT_EQ(mine->read_dword(QStringLiteral("A")).status, Status::missing);
    // A key whose file has gone is written back with its section.
    ASSERT_TRUE(mine->write_dword(QStringLiteral("A"), 3));
    EXPECT_EQ(file_bytes(), kHeader + "\"A\"=dword:00000003\n\n");
    EXPECT_EQ(mine->read_dword(QStringLiteral("A")).value, 3u);
    write_file(kHeader + "\"A\"=dword:00000004\n\n"); // as large, and in the same instant
    EXPECT_EQ(mine->read_dword(QStringLiteral("A")).value, 4u);
}

// Files larger than the limit cannot be written; the write fails with EFBIG instead of a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

TEST_F(RegistryFileTest, WritesReplaceTheFileWholeOrNotAtAll) {
    auto key = open(kKeyPath, true);
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->write_string(QStringLiteral("TAPETA"), QStringLiteral("tapeta.bmp")));
    EXPECT_EQ(directory_entries(), QStringList{QStringLiteral("registry.reg")});

    const QByteArray before = file_bytes();
    {
        const FileSizeLimit limit(before.size() + 8);
        EXPECT_FALSE(key->write_string(QStringLiteral("TAPETA"), QStringLiteral("a much longer name.bmp")));
    }
    EXPECT_EQ(file_bytes(), before);
    EXPECT_EQ(directory_entries(), QStringList{QStringLiteral("registry.reg")});
    EXPECT_EQ(key->read_string(QStringLiteral("TAPETA")).value, QStringLiteral("tapeta.bmp"));
}

// A writer killed before its rename left its temporary behind; the next write removes it, but not one
// a live writer holds, nor another program's file.
TEST_F(RegistryFileTest, AWriteRemovesTemporariesKilledWritersLeft) {
    write_file(kHeader);
    const auto leave = [&](const char* name) {
        QFile file(dir_.filePath(QLatin1String(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kel");
    };
    leave(".registry.reg.1x2y3z.tmp");
    leave(".registry.reg.zz.tmp");
    leave(".registry.reg.backup");
    leave(".registry.reg.held.tmp");
    const int held =
        ::open(QFile::encodeName(dir_.filePath(QStringLiteral(".registry.reg.held.tmp"))).constData(),
               O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    ASSERT_TRUE(open()->write_dword(QStringLiteral("X"), 1));
    ::close(held);
    EXPECT_EQ(directory_entries(),
              QStringList({QStringLiteral(".registry.reg.backup"), QStringLiteral(".registry.reg.held.tmp"),
                           QStringLiteral("registry.reg")}));
}

TEST_F(RegistryFileTest, AWriteKeepsTheFilesPermissionsAndFollowsALink) {
    const QString real = dir_.filePath(QStringLiteral("real.reg"));
    write_file(kHeader);
    ASSERT_TRUE(QFile::rename(path(), real));
    ASSERT_TRUE(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::link(real, path()));
    ASSERT_TRUE(open()->write_dword(QStringLiteral("X"), 1));
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(real).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(file_bytes(), kHeader + "\"X\"=dword:00000001\n");
}

TEST_F(RegistryFileTest, AKeyCannotBeCreatedWhereTheDirectoryCannotBe) {
    QFile blocker(dir_.filePath(QStringLiteral("plik")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    FileRegistry registry(dir_.filePath(QStringLiteral("plik/registry.reg")));
    EXPECT_FALSE(registry.open_key(RegistryRoot::local_machine, kKeyPath, true));
}

class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value)
        : name_(name), saved_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~EnvironmentVariable() {
        if (had_)
            qputenv(name_, saved_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray saved_;
    bool had_;
};

TEST(RegistryFilePath, ComesFromTheEnvironment) {
    const QString home = QDir::homePath();
    const struct {
        const char* explicit_path;
        const char* config_home;
        QString expected;
    } cases[] = {
        {"/srv/menu.reg", "/etc/xdg", QStringLiteral("/srv/menu.reg")},
        {"", "/tmp/config", QStringLiteral("/tmp/config/kelvox-cover-menu/registry.reg")},
        {nullptr, "/tmp/config", QStringLiteral("/tmp/config/kelvox-cover-menu/registry.reg")},
        {nullptr, nullptr, home + QStringLiteral("/.config/kelvox-cover-menu/registry.reg")},
        {nullptr, "", home + QStringLiteral("/.config/kelvox-cover-menu/registry.reg")},
        {nullptr, "relative/config", home + QStringLiteral("/.config/kelvox-cover-menu/registry.reg")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        const EnvironmentVariable registry("KELVOX_REGISTRY", c.explicit_path);
        const EnvironmentVariable config("XDG_CONFIG_HOME", c.config_home);
        EXPECT_EQ(registry_file_path(), c.expected);
    }
}

} // namespace
} // namespace kelvox
