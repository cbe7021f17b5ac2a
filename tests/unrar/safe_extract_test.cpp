// Extraction never writes outside the destination, never follows a link already there, and never
// leaves a half-written file in place of an existing one.
#include "tests/unrar/rar_test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvox::testing {
namespace {

namespace fs = std::filesystem;

class RarSafeExtract : public ::testing::Test {
protected:
    void SetUp() override {
        dest_ = work_.path() / "dest";
        fs::create_directories(dest_);
    }

    int extract_one(const StoredRarEntry& entry, int operation = RAR_EXTRACT) {
        write_stored_rar(work_ / "one.rar", {entry});
        Archive archive(work_ / "one.rar");
        Listed listed{};
        if (archive.read(listed) != 0)
            return -1;
        return archive.process(operation, dest_.string());
    }

    // Every entry extracted under the destination; the code of each.
    std::vector<int> extract_all(const std::string& path) {
        Archive archive(path);
        std::vector<Listed> listed;
        std::vector<int> codes;
        EXPECT_EQ(archive.walk(listed, codes, RAR_EXTRACT, dest_.string()), ERAR_END_ARCHIVE);
        return codes;
    }

    std::vector<std::string> beside_dest() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(work_.path()))
            names.push_back(item.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir work_;
    fs::path dest_;
};

TEST_F(RarSafeExtract, HostileNamesAreRefusedAndNothingIsWritten) {
    const char* names[] = {"..\\escape.txt", "../escape.txt", "ok\\..\\..\\mid.txt",
                           "a/../../x.txt",  "\\abs.txt",     "/abs.txt",
                           "C:\\drive.txt",  "c:drive.txt",   "..",
                           ".\\.",           "a\\..\\b.txt"};
    for (const unsigned host : {2u, 3u}) {
        for (const char* name : names) {
            SCOPED_TRACE(std::string(name) + " host " + std::to_string(host));
            EXPECT_EQ(extract_one(stored_file(name, "payload", host)), ERAR_ECREATE);
            EXPECT_TRUE(tree_of(dest_).empty());
            EXPECT_EQ(beside_dest(), (std::vector<std::string>{"dest", "one.rar"}));
        }
    }
}

TEST_F(RarSafeExtract, PlainNamesLandWhereTheySay) {
    struct Case {
        std::string name;
        unsigned host;
        fs::path where;
    } cases[] = {
        {"a\\b\\c.txt", 2, "a/b/c.txt"},
        {".\\dot.txt", 2, "dot.txt"},
        {"x//y.txt", 2, "x/y.txt"},
        // The older format always separates with backslashes, whatever the host.
        {"unix\\style.txt", 3, "unix/style.txt"},
        {"name with ..dots..txt", 2, "name with ..dots..txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(extract_one(stored_file(c.name, "content", c.host)), 0);
        EXPECT_EQ(read_file(dest_ / c.where), bytes_of("content"));
    }
}

StoredRarEntry symlink_entry(const std::string& name, const std::string& target) {
    StoredRarEntry entry = stored_file(name, target, 3);
    entry.attributes = 0120777;
    return entry;
}

TEST_F(RarSafeExtract, StoredLinksAreMadeOnlyWhenTheyStayInside) {
    struct Case {
        std::string name, target;
        int code;
        std::string made; // the link's target on disk
    } cases[] = {
        {"inside", "file.txt", 0, "file.txt"},
        {"sub\\back", "../file.txt", 0, "../file.txt"},
        {"sub\\deeper", "..\\file.txt", 0, "../file.txt"},
        {"up", "../outside.txt", ERAR_ECREATE, ""},
        {"sub\\up2", "../../outside.txt", ERAR_ECREATE, ""},
        {"abs", "/etc/passwd", ERAR_ECREATE, ""},
        {"drive", "C:\\windows", ERAR_ECREATE, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(extract_one(symlink_entry(c.name, c.target)), c.code);
        std::string on_disk = c.name;
        std::replace(on_disk.begin(), on_disk.end(), '\\', '/');
        if (c.code == 0) {
            ASSERT_TRUE(fs::is_symlink(dest_ / on_disk));
            EXPECT_EQ(fs::read_symlink(dest_ / on_disk), c.made);
        } else {
            EXPECT_FALSE(fs::exists(fs::symlink_status(dest_ / on_disk)));
        }
    }
}

TEST_F(RarSafeExtract, ExistingLinksInTheDestinationAreNeverFollowed) {
    const fs::path outside = work_.path() / "outside";
    fs::create_directories(outside);
    write_file(outside / "secret.txt", bytes_of("secret"));
    fs::create_directory_symlink(outside, dest_ / "linked");
    fs::create_symlink(outside / "secret.txt", dest_ / "victim.txt");

    EXPECT_EQ(extract_one(stored_file("linked\\planted.txt", "planted")), ERAR_ECREATE);
    StoredRarEntry directory;
    directory.name = "linked\\newdir";
    directory.directory = true;
    EXPECT_EQ(extract_one(directory), ERAR_ECREATE);
    // A file over a link replaces the link itself.
    EXPECT_EQ(extract_one(stored_file("victim.txt", "replaced")), 0);
    EXPECT_FALSE(fs::is_symlink(dest_ / "victim.txt"));
    EXPECT_EQ(read_file(dest_ / "victim.txt"), bytes_of("replaced"));
    EXPECT_EQ(tree_of(outside), (std::vector<std::string>{"secret.txt"}));
    EXPECT_EQ(read_file(outside / "secret.txt"), bytes_of("secret"));
}

TEST_F(RarSafeExtract, BadDataLeavesTheExistingFileAndNoTemporaryFile) {
    write_file(dest_ / "keep.txt", bytes_of("the original"));
    write_stored_rar(work_ / "bad.rar", {stored_file("keep.txt", "REPLACEMENT DATA")});
    std::vector<unsigned char> bytes = read_file(work_ / "bad.rar");
    const std::string needle = "REPLACEMENT";
    const auto at = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
    ASSERT_NE(at, bytes.end());
    *at = 'r'; // the data no longer matches its CRC
    write_file(work_ / "bad.rar", bytes);
    for (const int operation : {RAR_EXTRACT, RAR_TEST}) {
        Archive archive(work_ / "bad.rar");
        Listed entry{};
        ASSERT_EQ(archive.read(entry), 0);
        EXPECT_EQ(archive.process(operation, dest_.string()), ERAR_BAD_DATA);
        EXPECT_EQ(read_file(dest_ / "keep.txt"), bytes_of("the original"));
        EXPECT_EQ(tree_of(dest_), (std::vector<std::string>{"keep.txt"}));
    }
}

TEST_F(RarSafeExtract, DestinationNameIsExactlyTheFileWritten) {
    write_stored_rar(work_ / "a.rar",
                     {stored_file("deep\\inside\\a.txt", "exact"), stored_file("b.txt", "b")});
    Archive archive(work_ / "a.rar");
    Listed entry{};
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_EQ(archive.process(RAR_EXTRACT, "", (dest_ / "renamed.bin").string()), 0);
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_EQ(archive.process(RAR_EXTRACT, "", (dest_ / "new dir" / "b.txt").string()), 0);
    EXPECT_EQ(tree_of(dest_), (std::vector<std::string>{"new dir", "new dir/b.txt", "renamed.bin"}));
    EXPECT_EQ(read_file(dest_ / "renamed.bin"), bytes_of("exact"));
}

TEST_F(RarSafeExtract, TestSkipAndListingWriteNothing) {
    write_stored_rar(work_ / "a.rar", {stored_file("a.txt", "a"), stored_file("b.txt", "b")});
    {
        Archive archive(work_ / "a.rar");
        std::vector<Listed> listed;
        std::vector<int> codes;
        EXPECT_EQ(archive.walk(listed, codes, RAR_TEST, dest_.string()), ERAR_END_ARCHIVE);
        EXPECT_EQ(codes, (std::vector<int>{0, 0}));
    }
    {
        Archive archive(work_ / "a.rar");
        std::vector<Listed> listed;
        std::vector<int> codes;
        EXPECT_EQ(archive.walk(listed, codes, RAR_SKIP, dest_.string()), ERAR_END_ARCHIVE);
    }
    {
        Archive archive(work_ / "a.rar", RAR_OM_LIST);
        std::vector<Listed> listed;
        std::vector<int> codes;
        EXPECT_EQ(archive.walk(listed, codes, RAR_EXTRACT, dest_.string()), ERAR_END_ARCHIVE);
        EXPECT_EQ(codes, (std::vector<int>{0, 0}));
    }
    EXPECT_TRUE(tree_of(dest_).empty());
}

TEST_F(RarSafeExtract, NameTakenByTheOtherKindIsACreateError) {
    fs::create_directories(dest_ / "is_dir");
    write_file(dest_ / "is_file", bytes_of("file"));
    EXPECT_EQ(extract_one(stored_file("is_dir", "data")), ERAR_ECREATE);
    StoredRarEntry directory;
    directory.name = "is_file";
    directory.directory = true;
    EXPECT_EQ(extract_one(directory), ERAR_ECREATE);
    EXPECT_EQ(extract_one(stored_file("is_file\\below.txt", "data")), ERAR_ECREATE);
    EXPECT_TRUE(fs::is_directory(dest_ / "is_dir"));
    EXPECT_EQ(read_file(dest_ / "is_file"), bytes_of("file"));
}

TEST_F(RarSafeExtract, ModeAndTimeComeFromTheHeader) {
    StoredRarEntry unix_file = stored_file("private.txt", "p", 3);
    unix_file.attributes = 0100600;
    unix_file.dos_time =
        (static_cast<unsigned>(2001 - 1980) << 25) | (2u << 21) | (3u << 16) | (4u << 11) | (5u << 5) | 3u;
    StoredRarEntry read_only = stored_file("locked.txt", "l", 2);
    read_only.attributes = 0x21;
    write_stored_rar(work_ / "m.rar", {unix_file, read_only});
    Archive archive(work_ / "m.rar");
    std::vector<Listed> listed;
    std::vector<int> codes;
    ASSERT_EQ(archive.walk(listed, codes, RAR_EXTRACT, dest_.string()), ERAR_END_ARCHIVE);
    struct stat info {};
    ASSERT_EQ(::stat((dest_ / "private.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::tm local{};
    localtime_r(&info.st_mtime, &local);
    EXPECT_EQ(local.tm_year + 1900, 2001);
    EXPECT_EQ(local.tm_mon + 1, 2);
    EXPECT_EQ(local.tm_mday, 3);
    EXPECT_EQ(local.tm_min, 5);
    EXPECT_EQ(local.tm_sec, 6);
    ASSERT_EQ(::stat((dest_ / "locked.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0222, 0u);
}

// A hard link names a file this run extracted; a file that sat in the destination before, or one an
// earlier run extracted, is not the archive's to link to.
TEST_F(RarSafeExtract, HardLinksNameOnlyFilesThisRunExtracted) {
    write_file(dest_ / "before.txt", bytes_of("was here"));
    RarBytes earlier = rar5_start(false);
    append(earlier, rar5_file({.name = "earlier.txt", .data = bytes_of("earlier run")}));
    append(earlier, rar5_end(false));
    write_file(work_ / "earlier.rar", earlier);
    ASSERT_EQ(extract_all(work_ / "earlier.rar"), (std::vector<int>{0}));
    RarBytes bytes = rar5_start(false);
    append(bytes, rar5_file({.name = "made.txt", .data = bytes_of("made now")}));
    for (const char* target : {"made.txt", "before.txt", "earlier.txt", "missing.txt"})
        append(bytes, rar5_file({.name = std::string("to-") + target, .hardlink_to = target}));
    append(bytes, rar5_end(false));
    write_file(work_ / "links.rar", bytes);
    EXPECT_EQ(extract_all(work_ / "links.rar"), (std::vector<int>{0, 0, ERAR_ECREATE, ERAR_ECREATE, ERAR_ECREATE}));
    EXPECT_TRUE(fs::equivalent(dest_ / "to-made.txt", dest_ / "made.txt"));
    EXPECT_EQ(tree_of(dest_), (std::vector<std::string>{"before.txt", "earlier.txt", "made.txt", "to-made.txt"}));
    EXPECT_EQ(read_file(dest_ / "before.txt"), bytes_of("was here"));
}

// A run killed while writing leaves its temporary file; a later run that writes into that
// directory removes it, and only what is surely a dead run's own.
TEST_F(RarSafeExtract, StaleTemporariesOfKilledRunsAreRemovedWhereARunWrites) {
    fs::create_directories(dest_ / "sub");
    fs::create_directories(dest_ / "untouched");
    const std::vector<std::string> stale = {".kelvox-unrar-0badcafe", "sub/.kelvox-unrar-12345678"};
    const std::vector<std::string> kept = {
        "untouched/.kelvox-unrar-aaaaaaaa", // a directory this run does not write
        ".kelvox-unrar-notours1",           // not the pattern
        ".kelvox-unrar-deadbeef",           // a live writer holds it
        ".kelvox-unrar-00000000",           // empty and new: maybe not locked yet
    };
    for (const std::string& name : stale)
        write_file(dest_ / name, bytes_of("half a file"));
    for (const std::string& name : kept)
        write_file(dest_ / name, bytes_of(name == ".kelvox-unrar-00000000" ? "" : "someone's"));
    fs::create_symlink("top.txt", dest_ / ".kelvox-unrar-11111111");
    const int live = ::open((dest_ / ".kelvox-unrar-deadbeef").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);

    write_stored_rar(work_ / "two.rar", {stored_file("top.txt", "top"), stored_file("sub\\inner.txt", "inner")});
    EXPECT_EQ(extract_all(work_ / "two.rar"), (std::vector<int>{0, 0}));
    ::close(live);
    for (const std::string& name : stale)
        EXPECT_FALSE(fs::exists(dest_ / name)) << name;
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(dest_ / name)) << name;
    EXPECT_TRUE(fs::is_symlink(dest_ / ".kelvox-unrar-11111111"));
}

} // namespace
} // namespace kelvox::testing
