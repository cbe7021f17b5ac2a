// Compressed entries reached after skipping others: the decoders must keep their place (and a solid
// archive its state) whichever entries the caller passes over.
#include "tests/unrar/rar_test_support.h"

#include <gtest/gtest.h>

namespace kelvox::testing {
namespace {

namespace fs = std::filesystem;

TEST(RarDecode, EntriesAfterSkippedOnesDecodeCorrectly) {
    const fs::path fixtures = rar_fixtures();
    if (fixtures.empty())
        GTEST_SKIP() << "../shared/fixtures/rar is not there";
    struct Case {
        std::string folder, first;
        std::string plan; // per entry: S skip, T test, E extract
    } cases[] = {
        {"libarchive/rar4-compressed", "test_read_format_rar_compress_normal.rar", "SSESEE"},
        {"libarchive/rar4-compressed", "test_read_format_rar_compress_normal.rar", "TSTE"},
        {"libarchive/rar4-vol-compressed", "test_read_format_rar_multivolume.part0001.rar", "SESE"},
        {"libarchive/rar5-solid", "test_read_format_rar5_solid.rar", "SSSSSSE"},
        {"libarchive/rar5-solid", "test_read_format_rar5_solid.rar", "ESTSE"},
        {"libarchive/rar5-vol-solid", "test_read_format_rar5_multiarchive_solid.part01.rar", "SSSSSSSSE"},
        {"libarchive/rar5-vol", "test_read_format_rar5_multiarchive.part01.rar", "SE"},
        {"libarchive/rar5-encrypted-mixed", "test_read_format_rar5_encrypted.rar", "SSE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder + " " + c.plan);
        TempDir work;
        fs::copy(fixtures / c.folder, work.path() / "archive");
        Archive archive((work.path() / "archive" / c.first).string());
        ASSERT_TRUE(archive.is_open());
        for (const char step : c.plan) {
            Listed entry{};
            ASSERT_EQ(archive.read(entry), 0);
            const int operation = step == 'S' ? RAR_SKIP : step == 'T' ? RAR_TEST : RAR_EXTRACT;
            ASSERT_EQ(archive.process(operation, work / "out"), 0) << entry.name;
            if (step == 'E' && (entry.flags & 0xE0) != 0xE0 && entry.method != 0x30) {
                std::string name = entry.name;
                if (entry.unp_ver < 50)
                    std::replace(name.begin(), name.end(), '\\', '/');
                EXPECT_EQ(file_crc(work.path() / "out" / name), entry.crc) << entry.name;
            }
        }
    }
}

// Rewrites the first file header's version and method (and its CRC) in an archive of the writer's.
void set_version_and_method(const std::string& path, unsigned version, unsigned method) {
    std::vector<unsigned char> bytes = read_file(path);
    const std::size_t header = 7 + 13;
    const std::size_t size = bytes[header + 5] | (bytes[header + 6] << 8);
    bytes[header + 24] = static_cast<unsigned char>(version);
    bytes[header + 25] = static_cast<unsigned char>(method);
    const std::vector<unsigned char> body(bytes.begin() + header + 2, bytes.begin() + header + size);
    const std::uint32_t crc = crc_of(body);
    bytes[header] = static_cast<unsigned char>(crc & 0xFF);
    bytes[header + 1] = static_cast<unsigned char>((crc >> 8) & 0xFF);
    write_file(path, bytes);
}

TEST(RarDecode, CompressionWithoutADecoderIsAnUnknownFormat) {
    TempDir work;
    struct Case {
        unsigned version, method;
        int code;
    } cases[] = {
        {15, 0x33, ERAR_UNKNOWN_FORMAT}, // RAR 1.5 compression
        {40, 0x33, ERAR_UNKNOWN_FORMAT}, // a version newer than any decoder here
        {15, 0x30, ERAR_SUCCESS},        // stored data needs no decoder, whatever the version
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        write_stored_rar(work / "old.rar", {stored_file("old.txt", "packed long ago")});
        set_version_and_method(work / "old.rar", c.version, c.method);
        Archive archive(work / "old.rar");
        Listed entry{};
        ASSERT_EQ(archive.read(entry), 0);
        EXPECT_EQ(entry.unp_ver, c.version);
        EXPECT_EQ(entry.method, c.method);
        EXPECT_EQ(archive.process(RAR_EXTRACT, work / "out"), c.code);
        EXPECT_EQ(fs::exists(work.path() / "out" / "old.txt"), c.code == ERAR_SUCCESS);
    }
}

} // namespace
} // namespace kelvox::testing

namespace kelvox::testing {
namespace {

int RAR_API refuse_missing(char*, int mode) {
    return mode == RAR_VOL_NOTIFY ? 1 : 0;
}

// The newer format's decoder reads the volumes as one stream; a missing one is asked for before
// decoding starts, and refusing it leaves nothing behind.
TEST(RarDecode, MissingVolumeOfTheNewerFormatIsAnOpenError) {
    const fs::path fixtures = rar_fixtures();
    if (fixtures.empty())
        GTEST_SKIP() << "../shared/fixtures/rar is not there";
    TempDir work;
    fs::copy(fixtures / "libarchive/rar5-vol", work.path() / "archive");
    fs::remove(work.path() / "archive" / "test_read_format_rar5_multiarchive.part06.rar");
    Archive archive((work.path() / "archive" / "test_read_format_rar5_multiarchive.part01.rar").string());
    archive.set_callback(refuse_missing);
    std::vector<Listed> listed;
    std::vector<int> codes;
    EXPECT_EQ(archive.walk(listed, codes, RAR_EXTRACT, work / "out"), ERAR_EOPEN);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(codes[0], 0);
    EXPECT_EQ(codes[1], ERAR_EOPEN);
    const fs::path bin = work.path() / "out/home/antek/temp/build/unrar5/libarchive/bin";
    EXPECT_EQ(file_crc(bin / "bsdcat_test"), listed[0].crc);
    EXPECT_EQ(tree_of(bin), (std::vector<std::string>{"bsdcat_test"}));
}

} // namespace
} // namespace kelvox::testing
