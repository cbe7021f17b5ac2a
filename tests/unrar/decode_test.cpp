// Compressed entries reached after skipping others: the decoders must keep their place (and a solid
// archive its state) whichever entries the caller passes over.
#include "tests/unrar/rar_test_support.h"
#include "tools/rar_writer/rar29_literals.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

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

// libarchive decodes no entry that goes on from the one before it in a solid run: Linux hands it to
// libunarr, Windows refuses it before anything is written.
TEST(RarDecode, SolidRunGoesOnOnlyWhereLibunarrIs) {
    TempDir work;
    const std::vector<unsigned char> second = bytes_of("the second file, decoded from the run");
    write_stored_rar(work / "solid.rar", {rar29_literal_entry("a.txt", bytes_of("first")),
                                          rar29_literal_entry("b.txt", second, true)});
    Archive archive(work / "solid.rar");
    std::vector<Listed> listed;
    std::vector<int> codes;
    EXPECT_EQ(archive.walk(listed, codes, RAR_EXTRACT, work / "out"), ERAR_END_ARCHIVE);
    EXPECT_EQ(codes, (std::vector<int>{0, KELVOX_UNRAR_UNARR ? 0 : ERAR_UNKNOWN_FORMAT}));
    const std::vector<std::string> written =
        KELVOX_UNRAR_UNARR ? std::vector<std::string>{"a.txt", "b.txt"} : std::vector<std::string>{"a.txt"};
    EXPECT_EQ(tree_of(work.path() / "out"), written);
    if (KELVOX_UNRAR_UNARR) {
        EXPECT_EQ(file_crc(work.path() / "out/b.txt"), crc_of(second));
    }
}

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
    const fs::path missing = work.path() / "archive" / "test_read_format_rar5_multiarchive.part06.rar";
    fs::permissions(missing, fs::perms::owner_write,
                    fs::perm_options::add); // Windows removes no read-only file
    fs::remove(missing);
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

namespace kelvox::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t mib = std::size_t{1} << 20;

// Bytes that do not compress: the packed file is as large as the data, and spans the volumes.
std::vector<unsigned char> noise(std::size_t size) {
    std::mt19937 random(7);
    std::vector<unsigned char> bytes(size);
    for (std::size_t at = 0; at < size; at += 4) {
        const std::uint32_t word = random();
        std::memcpy(bytes.data() + at, &word, std::min<std::size_t>(4, size - at));
    }
    return bytes;
}

// What the callback heard of the data, and whether a temporary file stood in TMPDIR, or any named
// file in the destination, meanwhile.
struct Heard {
    fs::path temp;
    fs::path dest;
    bool named_in_dest = false;
    std::size_t cancel_at = 0; // the piece of data answered with -1; 0: none
    std::size_t pieces = 0, largest = 0;
    std::uint64_t bytes = 0;
    uLong crc = crc32(0, Z_NULL, 0);
    bool temp_used = false;

    static int RAR_API record(unsigned int message, LPARAM self, LPARAM p1, LPARAM p2) {
        if (message != UCM_PROCESSDATA)
            return 1;
        Heard& heard = *reinterpret_cast<Heard*>(self);
        const auto size = static_cast<std::size_t>(p2);
        heard.temp_used = heard.temp_used || !fs::is_empty(heard.temp);
        std::error_code missing;
        for (const auto& item : fs::recursive_directory_iterator(heard.dest, missing))
            heard.named_in_dest =
                heard.named_in_dest || item.path().filename().string().rfind(".kelvox-unrar-", 0) == 0;
        if (size == 0)
            return 1; // the decoder still at work, as often as the machine's load makes it
        heard.largest = std::max(heard.largest, size);
        heard.bytes += size;
        heard.crc = crc32(heard.crc, reinterpret_cast<const Bytef*>(p1), static_cast<uInt>(size));
        return ++heard.pieces == heard.cancel_at ? -1 : 1;
    }
};

// The variable that names the directory for temporary files, set for the life of this object.
class TempDirVariable {
public:
#ifdef _WIN32
    static constexpr const char* name = "TMP";
    static void set(const std::string& value) {
        ::_putenv_s(name, value.c_str());
    } // empty: unset
#else
    static constexpr const char* name = "TMPDIR";
    static void set(const std::string& value) {
        if (value.empty())
            ::unsetenv(name);
        else
            ::setenv(name, value.c_str(), 1);
    }
#endif

    explicit TempDirVariable(const fs::path& path) {
        if (const char* old = std::getenv(name))
            old_ = old;
        set(path.string());
    }
    ~TempDirVariable() {
        set(old_);
    }

private:
    std::string old_;
};

// A compressed file split over volumes is decoded as its data is read from them, with nothing joined
// anywhere first: its data comes in pieces of a MiB at most from the start, a cancel stops it, and the
// entries of its solid run before and after it still decode, whichever of them are skipped. Windows
// decodes no solid run's later entries (no libunarr there): the same entries, not solid, go through the
// same steps there.
TEST(RarDecode, SplitCompressedFileIsDecodedStraightFromItsVolumes) {
    TempDir work;
    const fs::path temp = work.path() / "tmp";
    fs::create_directories(temp);
    const TempDirVariable variable(temp);
    const std::vector<unsigned char> big = noise(5 * mib + 12345);
    write_stored_rar(work / "split.rar",
                     {rar29_literal_entry("a.txt", bytes_of("the run starts here")),
                      rar29_literal_entry("data\\big.bin", big, KELVOX_UNRAR_UNARR),
                      rar29_literal_entry("z.txt", bytes_of("and goes on after it"), KELVOX_UNRAR_UNARR)},
                     mib);
    ASSERT_TRUE(fs::exists(work / "split.part6.rar"));
    const std::string first = work / "split.part1.rar";
    struct Case {
        std::string plan; // per entry: S skip, E extract
        std::size_t cancel_at;
        std::vector<std::string> left; // in the destination afterwards
    } cases[] = {
        {"SEE", 0, {"data", "data/big.bin", "z.txt"}},
        {"EES", 3, {"a.txt", "data"}},
        {"SEE", 2, {"data", "z.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plan + " cancelled at " + std::to_string(c.cancel_at));
        const fs::path dest = work.path() / "out";
        fs::remove_all(dest);
        Archive archive(first);
        Heard heard{temp, dest};
        RARSetCallback(archive.handle(), &Heard::record, reinterpret_cast<LPARAM>(&heard));
        for (const char step : c.plan) {
            Listed entry{};
            ASSERT_EQ(archive.read(entry), 0);
            heard = Heard{temp, dest, false, entry.name == "data\\big.bin" ? c.cancel_at : 0};
            const bool cancelled = heard.cancel_at != 0 && step == 'E';
            EXPECT_EQ(archive.process(step == 'S' ? RAR_SKIP : RAR_EXTRACT, dest.string()),
                      cancelled ? ERAR_UNKNOWN : ERAR_SUCCESS)
                << entry.name;
            if (step == 'E' && entry.name == "data\\big.bin") {
                EXPECT_LE(heard.largest, mib);
                EXPECT_EQ(heard.bytes, cancelled ? c.cancel_at * heard.largest : big.size());
                if (!cancelled) {
                    EXPECT_EQ(heard.crc, crc_of(big));
                    EXPECT_EQ(file_crc(dest / "data/big.bin"), crc_of(big));
                }
            }
            EXPECT_FALSE(heard.temp_used) << entry.name;
            // A run killed inside a file must leave nothing behind in the destination either, where the file
            // system has files without names (Windows names every file it writes).
            EXPECT_FALSE(heard.named_in_dest && !on_windows) << entry.name;
        }
        EXPECT_EQ(archive.close(), 0);
        EXPECT_EQ(tree_of(dest), c.left);
        EXPECT_TRUE(fs::is_empty(temp));
    }
}

// The volumes are all found before decoding starts, as for any split file: a missing one is asked
// for, and the decoder reads the file the caller names in its place.
struct VolumeAnswer {
    std::string instead; // empty: refused
    std::vector<std::string> asked;

    static int RAR_API answer(unsigned int message, LPARAM self, LPARAM p1, LPARAM p2) {
        auto& answer = *reinterpret_cast<VolumeAnswer*>(self);
        if (message != UCM_CHANGEVOLUME || p2 != RAR_VOL_ASK)
            return 1;
        char* name = reinterpret_cast<char*>(p1);
        answer.asked.push_back(name);
        std::snprintf(name, 2048, "%s", answer.instead.c_str());
        return answer.instead.empty() ? 0 : 1;
    }
};

TEST(RarDecode, MissingVolumeOfASplitCompressedFileIsAskedFor) {
    TempDir work;
    const std::vector<unsigned char> data = noise(3 * mib);
    write_stored_rar(work / "split.rar", {rar29_literal_entry("big.bin", data)}, mib);
    ASSERT_TRUE(fs::exists(work / "split.part4.rar") && !fs::exists(work / "split.part5.rar"));
    fs::rename(work / "split.part4.rar", work / "moved.rar");
    for (const std::string& instead : {std::string(), work / "moved.rar"}) {
        SCOPED_TRACE(instead);
        Archive archive(work / "split.part1.rar");
        VolumeAnswer answer{instead, {}};
        RARSetCallback(archive.handle(), &VolumeAnswer::answer, reinterpret_cast<LPARAM>(&answer));
        Listed entry{};
        ASSERT_EQ(archive.read(entry), 0);
        EXPECT_EQ(archive.process(RAR_EXTRACT, work / "out"), instead.empty() ? ERAR_EOPEN : ERAR_SUCCESS);
        EXPECT_EQ(answer.asked, std::vector<std::string>{work / "split.part4.rar"});
        EXPECT_EQ(fs::exists(work.path() / "out/big.bin"), !instead.empty());
    }
    EXPECT_EQ(file_crc(work.path() / "out/big.bin"), crc_of(data));
}

} // namespace
} // namespace kelvox::testing
