// Header fields and archive-level results as the C interface reports them.
#include "tests/unrar/rar_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelvox::testing {
namespace {

namespace fs = std::filesystem;

TEST(RarOpen, FailuresHaveTheirCodes) {
    TempDir work;
    write_file(work / "not.rar", bytes_of("this is plain text, not an archive at all"));
    struct Case {
        std::string name;
        unsigned result;
    } cases[] = {{work / "missing.rar", ERAR_EOPEN},
                 {work / "not.rar", ERAR_BAD_ARCHIVE},
                 {work.path().string(), ERAR_EOPEN}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Archive archive(c.name);
        EXPECT_FALSE(archive.is_open());
        EXPECT_EQ(archive.open_result(), c.result);
    }
}

TEST(RarOpen, ArchiveWithoutFilesEndsAtOnce) {
    TempDir work;
    write_stored_rar(work / "empty.rar", {});
    Archive archive(work / "empty.rar");
    ASSERT_TRUE(archive.is_open());
    Listed entry{};
    EXPECT_EQ(archive.read(entry), ERAR_END_ARCHIVE);
    EXPECT_EQ(archive.read(entry), ERAR_END_ARCHIVE);
    EXPECT_EQ(archive.process(RAR_EXTRACT, work.path().string()), ERAR_END_ARCHIVE);
    EXPECT_EQ(archive.close(), 0);
}

TEST(RarOpen, SelfExtractingStubIsPassedOver) {
    TempDir work;
    write_stored_rar(work / "plain.rar", {stored_file("inside.txt", "found after the stub")});
    std::vector<unsigned char> image = bytes_of("MZ");
    image.resize(70000, 0x90); // a program body longer than one read chunk
    // Stubs carry the signature bytes themselves, for their own search: no main header follows.
    const std::vector<unsigned char> lookalike = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00, 0x12, 0x34};
    std::copy(lookalike.begin(), lookalike.end(), image.begin() + 1000);
    const std::vector<unsigned char> archive_bytes = read_file(work / "plain.rar");
    image.insert(image.end(), archive_bytes.begin(), archive_bytes.end());
    write_file(work / "setup.exe", image);

    Archive archive(work / "setup.exe");
    ASSERT_TRUE(archive.is_open());
    Listed entry{};
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_EQ(entry.name, "inside.txt");
    EXPECT_EQ(archive.process(RAR_EXTRACT, work / "out"), 0);
    EXPECT_EQ(read_file(work.path() / "out" / "inside.txt"), bytes_of("found after the stub"));
}

TEST(RarHeader, StoredFieldsComeBackAsWritten) {
    TempDir work;
    StoredRarEntry unix_file = stored_file("bin/tool", "#!/bin/sh\n", 3);
    unix_file.attributes = 0100755;
    unix_file.dos_time = 0x4A3B2C1D;
    StoredRarEntry folder;
    folder.name = "folder";
    folder.directory = true;
    write_stored_rar(work / "a.rar", {stored_file("readme.txt", "hello"), unix_file, folder});

    Archive archive(work / "a.rar", RAR_OM_LIST);
    Listed entry{};
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_EQ(entry.arc_name, work / "a.rar");
    EXPECT_EQ(entry.name, "readme.txt");
    EXPECT_EQ(entry.flags, 0u);
    EXPECT_EQ(entry.pack_size, 5u);
    EXPECT_EQ(entry.unp_size, 5u);
    EXPECT_EQ(entry.host_os, 2u);
    EXPECT_EQ(entry.crc, crc_of(bytes_of("hello")));
    EXPECT_EQ(entry.time, 0x5A8C0000u);
    EXPECT_EQ(entry.unp_ver, 20u);
    EXPECT_EQ(entry.method, 0x30u);
    EXPECT_EQ(entry.attributes, 0x20u);
    ASSERT_EQ(archive.read(entry), 0); // read twice in a row: the first entry is passed over
    EXPECT_EQ(entry.name, "bin/tool");
    EXPECT_EQ(entry.host_os, 3u);
    EXPECT_EQ(entry.attributes, 0100755u);
    EXPECT_EQ(entry.time, 0x4A3B2C1Du);
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_EQ(entry.flags, 0xE0u);
    EXPECT_EQ(entry.attributes, 0x10u);
    EXPECT_EQ(archive.read(entry), ERAR_END_ARCHIVE);
}

TEST(RarHeader, ProcessWithoutAHeaderIsRefused) {
    TempDir work;
    write_stored_rar(work / "a.rar", {stored_file("a.txt", "a")});
    Archive archive(work / "a.rar");
    EXPECT_EQ(archive.process(RAR_EXTRACT, work.path().string()), ERAR_UNKNOWN);
    EXPECT_FALSE(fs::exists(work.path() / "a.txt"));
}

TEST(RarHeader, LongNamesAreCutOnACharacterBoundaryButExtractWhole) {
    TempDir work;
    std::string part;
    for (int i = 0; i < 100; ++i)
        part += "ż"; // two bytes each
    const std::string name = part + "\\" + part + "\\x.txt";
    write_stored_rar(work / "long.rar", {stored_file(name, "deep")});
    Archive archive(work / "long.rar");
    Listed entry{};
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_LE(entry.name.size(), 259u);
    EXPECT_EQ(entry.name, name.substr(0, entry.name.size()));
    EXPECT_NE(static_cast<unsigned char>(name[entry.name.size()]) & 0xC0, 0x80u)
        << "a UTF-8 sequence was cut";
    EXPECT_EQ(archive.process(RAR_EXTRACT, work / "out"), 0);
    EXPECT_EQ(read_file(work.path() / "out" / utf8_path(part) / utf8_path(part) / "x.txt"), bytes_of("deep"));
}

// A 64-bit unpacked size (flag 0x0100) does not fit the 32-bit fields: they are clamped.
TEST(RarHeader, LargeSizesAreClampedIntoTheRecord) {
    TempDir work;
    std::vector<unsigned char> body;
    put32(body, 10); // packed, low
    put32(body, 5);  // unpacked, low
    body.push_back(2);
    put32(body, 0x12345678);
    put32(body, 0x5A8C0000);
    body.push_back(20);
    body.push_back(0x30);
    put16(body, 5);
    put32(body, 0x20);
    put32(body, 0); // packed, high
    put32(body, 1); // unpacked, high: 4 GiB + 5
    body.insert(body.end(), {'h', 'u', 'g', 'e', '!'});
    std::vector<unsigned char> archive_bytes = rar4_start(0x0001 | 0x0100);
    const std::vector<unsigned char> header = rar4_block(0x74, 0x8000 | 0x0100 | 0x0002, body);
    archive_bytes.insert(archive_bytes.end(), header.begin(), header.end());
    archive_bytes.resize(archive_bytes.size() + 10, 'x');
    write_file(work / "huge.part1.rar", archive_bytes);

    Archive archive(work / "huge.part1.rar", RAR_OM_LIST);
    Listed entry{};
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_EQ(entry.name, "huge!");
    EXPECT_EQ(entry.pack_size, 10u);
    EXPECT_EQ(entry.unp_size, 0xFFFFFFFFu);
    EXPECT_EQ(entry.flags & 0x02, 0x02u);
}

TEST(RarHeader, DamagedHeaderCrcIsBadData) {
    TempDir work;
    write_stored_rar(work / "a.rar", {stored_file("first.txt", "1"), stored_file("second.txt", "2")});
    std::vector<unsigned char> bytes = read_file(work / "a.rar");
    const std::string needle = "second.txt";
    const auto at = std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end());
    ASSERT_NE(at, bytes.end());
    *at = 'S';
    write_file(work / "a.rar", bytes);
    Archive archive(work / "a.rar");
    Listed entry{};
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_EQ(archive.process(RAR_SKIP), 0);
    EXPECT_EQ(archive.read(entry), ERAR_BAD_DATA);
}

// An old-style comment packed into the main header (stored, with its 16-bit CRC).
std::vector<unsigned char> archive_with_inline_comment(const std::string& text) {
    std::vector<unsigned char> comment;
    put16(comment, static_cast<unsigned>(text.size()));
    comment.push_back(20);
    comment.push_back(0x30);
    put16(comment, crc_of(bytes_of(text)) & 0xFFFF);
    comment.insert(comment.end(), text.begin(), text.end());
    const std::vector<unsigned char> comment_head = rar4_block(0x75, 0, comment);
    std::vector<unsigned char> bytes = rar4_start(0x0002, comment_head);
    const std::vector<unsigned char> end = rar4_block(0x7B, 0x4000, {});
    bytes.insert(bytes.end(), end.begin(), end.end());
    return bytes;
}

TEST(RarComment, CommentFillsTheBufferOrSaysItIsTooSmall) {
    TempDir work;
    const std::string text = "Kelvox cover disc: comment";
    write_file(work / "c.rar", archive_with_inline_comment(text));
    struct Case {
        unsigned buffer;
        unsigned state, size;
        std::string seen;
    } cases[] = {
        {65536, 1, static_cast<unsigned>(text.size() + 1), text},
        {static_cast<unsigned>(text.size() + 1), 1, static_cast<unsigned>(text.size() + 1), text},
        {10, ERAR_SMALL_BUF, 10, text.substr(0, 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.buffer);
        Archive archive(work / "c.rar", RAR_OM_LIST, c.buffer);
        ASSERT_TRUE(archive.is_open());
        EXPECT_EQ(archive.open_data().CmtState, c.state);
        EXPECT_EQ(archive.open_data().CmtSize, c.size);
        EXPECT_EQ(archive.comment(), c.seen);
    }
    write_stored_rar(work / "plain.rar", {stored_file("a", "a")});
    Archive plain(work / "plain.rar");
    EXPECT_EQ(plain.open_data().CmtState, 0u);
    EXPECT_EQ(plain.open_data().CmtSize, 0u);
}

TEST(RarComment, CompressedCommentBlockIsDecoded) {
    const fs::path fixtures = rar_fixtures();
    if (fixtures.empty())
        GTEST_SKIP() << "../shared/fixtures/rar is not there";
    Archive archive((fixtures / "libarchive/rar4-comment/test_read_format_rar_subblock.rar").string(),
                    RAR_OM_LIST);
    ASSERT_TRUE(archive.is_open());
    EXPECT_EQ(archive.open_data().CmtState, 1u);
    EXPECT_EQ(archive.comment(), "test rar with archive comment");
}

// The newer format's flags are reported in the older format's meanings.
// The header with 64-bit sizes gives each name also as wide characters; a malformed UTF-8 sequence
// stands as U+FFFD, and a long name is cut on a character boundary in both forms.
TEST(RarHeader, WideNamesFollowTheStoredNames) {
    std::string long_name;
    for (int i = 0; i < 600; ++i)
        long_name += "ż";
    const struct {
        std::string stored;
        std::wstring wide;
    } cases[] = {
        {"zażółć/\xF0\x9F\x91\x8B.txt", L"za\u017c\u00f3\u0142\u0107/\U0001F44B.txt"},
        {"a\xC3(b", L"a\uFFFD(b"},
        {"\xED\xA0\x80x", L"\uFFFDx"},
        {long_name, std::wstring(511, L'\u017c')},
    };
    TempDir work;
    RarBytes bytes = rar5_start(false);
    for (const auto& c : cases)
        append(bytes, rar5_file({.name = c.stored, .data = bytes_of("x")}));
    append(bytes, rar5_end(false));
    write_file(work / "names.rar", bytes);

    Archive archive(work / "names.rar", RAR_OM_LIST);
    ASSERT_TRUE(archive.is_open());
    for (const auto& c : cases) {
        auto header = std::make_unique<RARHeaderDataEx>();
        ASSERT_EQ(RARReadHeaderEx(archive.handle(), header.get()), 0);
        EXPECT_EQ(std::wstring(header->FileNameW), c.wide);
        EXPECT_EQ(std::string(header->FileName),
                  c.stored.substr(0, std::min<std::size_t>(c.stored.size(), 1022)));
    }
}

TEST(RarHeader, NewerFormatFieldsAreMappedOntoTheOlderMeanings) {
    const fs::path fixtures = rar_fixtures();
    if (fixtures.empty())
        GTEST_SKIP() << "../shared/fixtures/rar is not there";
    struct Case {
        std::string file;
        std::size_t index;
        unsigned flags, host_os, unp_ver, method;
    } cases[] = {
        {"libarchive/rar5-solid/test_read_format_rar5_solid.rar", 0, 0x80, 3, 50, 0x35},
        {"libarchive/rar5-solid/test_read_format_rar5_solid.rar", 1, 0x90, 3, 50, 0x35},
        {"libarchive/rar5-vol/test_read_format_rar5_multiarchive.part01.rar", 0, 0x62, 3, 50, 0x35},
        {"libarchive/rar5-encrypted-mixed/test_read_format_rar5_encrypted.rar", 1, 0x24, 2, 50, 0x33},
        {"libarchive/rar5-win32/test_read_format_rar5_win32.rar", 0, 0xE0, 2, 50, 0x30},
        {"libarchive/rar5-stored/test_read_format_rar5_stored.rar", 0, 0x20, 3, 50, 0x30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " #" + std::to_string(c.index));
        Archive archive((fixtures / c.file).string(), RAR_OM_LIST);
        ASSERT_TRUE(archive.is_open());
        Listed entry{};
        for (std::size_t i = 0; i <= c.index; ++i)
            ASSERT_EQ(archive.read(entry), 0);
        EXPECT_EQ(entry.flags, c.flags);
        EXPECT_EQ(entry.host_os, c.host_os);
        EXPECT_EQ(entry.unp_ver, c.unp_ver);
        EXPECT_EQ(entry.method, c.method);
    }
}

} // namespace
} // namespace kelvox::testing
