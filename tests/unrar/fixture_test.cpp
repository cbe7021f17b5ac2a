// Every archive under ../shared/fixtures/rar, listed and extracted through the C interface and
// compared with the independent listing kept in its MANIFEST.md.
#include "tests/unrar/rar_test_support.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <map>
#include <regex>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kelvox::testing {
namespace {

namespace fs = std::filesystem;

struct ManifestEntry {
    std::string name, kind, unpacked, packed, crc;
};

struct ManifestRow {
    std::string folder;     // "libarchive/rar4-stored"
    std::string first_file; // the file to open
    std::vector<ManifestEntry> entries;
};

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos;
         start = at + separator.size())
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::string trim(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ');
    return begin == std::string::npos ? "" : text.substr(begin, end - begin + 1);
}

std::vector<ManifestRow> parse_manifest(const fs::path& manifest) {
    std::ifstream in(manifest);
    std::vector<ManifestRow> rows;
    const std::regex entry_pattern(R"(^`(.*)`\s*(?:\((link|dir|enc)\))?\s*(\S+)/(\S+)/(\S+)$)");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("| `libarchive/", 0) != 0 && line.rfind("| `handmade/", 0) != 0)
            continue;
        const std::vector<std::string> columns = split(line, " | ");
        ManifestRow row;
        const std::string& first = columns[0];
        const std::size_t open = first.find('`');
        row.folder = first.substr(open + 1, first.find('`', open + 1) - open - 2);
        const std::string after_break = first.substr(first.find("<br>") + 4);
        row.first_file = after_break.substr(0, after_break.find(' '));
        for (const std::string& item : split(columns[2], "<br>")) {
            std::smatch match;
            const std::string text = trim(item);
            if (std::regex_match(text, match, entry_pattern))
                row.entries.push_back({match[1], match[2], match[3], match[4], match[5]});
        }
        rows.push_back(row);
    }
    return rows;
}

// What the module does where the independent lister has no opinion or a different one.
struct Expectation {
    int open = ERAR_SUCCESS;
    int end = ERAR_END_ARCHIVE;
    std::map<std::size_t, int> codes; // by entry index; encrypted entries fail with ERAR_BAD_DATA anyway
    std::map<std::size_t, std::string> names;
};

Expectation failing_open(int code) {
    Expectation expectation;
    expectation.open = code;
    return expectation;
}

Expectation with_codes(std::map<std::size_t, int> codes, int end = ERAR_END_ARCHIVE) {
    Expectation expectation;
    expectation.codes = std::move(codes);
    expectation.end = end;
    return expectation;
}

Expectation renamed(std::map<std::size_t, std::string> names) {
    Expectation expectation;
    expectation.names = std::move(names);
    return expectation;
}

const std::map<std::string, Expectation>& expectations() {
    const int refused = ERAR_ECREATE;
    static const std::map<std::string, Expectation> table = {
        {"libarchive/rar4-damaged", with_codes({{0, ERAR_BAD_DATA}})},
        {"libarchive/rar4-encrypted-headers", failing_open(ERAR_BAD_DATA)},
        {"libarchive/rar5-encrypted-headers", failing_open(ERAR_BAD_DATA)},
        {"libarchive/rar5-damaged", failing_open(ERAR_BAD_DATA)},
        // Its first entry begins in a volume that is not there and its second goes on in one.
        {"libarchive/rar4-missing-volume", with_codes({{0, ERAR_BAD_DATA}, {1, ERAR_EOPEN}}, ERAR_EOPEN)},
        // The third header is cut by the end of the file.
        {"handmade/rar4-truncated", with_codes({}, ERAR_BAD_DATA)},
        {"handmade/rar4-evil-names",
         with_codes({{0, refused}, {1, refused}, {2, refused}, {3, refused}, {4, refused}, {5, refused}})},
        {"handmade/rar5-evil-names", with_codes({{0, refused}, {1, refused}, {2, refused}, {3, refused}})},
        // The lister guessed a charset; the bytes are code page 852 (and 437) "Müller\Ä.txt".
        {"handmade/rar4-oem-name", renamed({{0, "Müller/Ä.txt"}})},
    };
    return table;
}

Expectation expectation_for(const std::string& folder) {
    const auto found = expectations().find(folder);
    return found == expectations().end() ? Expectation{} : found->second;
}

bool older_format(const Listed& entry) {
    return entry.unp_ver < 50;
}

// The lister shows the older format's separators as '/' and keeps the newer format's names as stored.
std::string listed_name(const Listed& entry) {
    std::string name = entry.name;
    if (older_format(entry))
        std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// Where the entry lands: backslashes separate in the older format and in names from DOS and Windows.
std::string disk_path(const Listed& entry) {
    std::string name = entry.name;
    if (older_format(entry) || entry.host_os <= 2)
        std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string hex(unsigned value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

// Windows makes symbolic links only for a user with the right (or in developer mode), and wine 8 makes
// none at all while reporting success; where a link cannot be made, a link entry is ERAR_ECREATE.
bool symbolic_links_are_made() {
#ifdef _WIN32
    const TempDir work;
    write_file(work.path() / "target", bytes_of("t"));
    const std::wstring link = (work.path() / "link").wstring();
    ::CreateSymbolicLinkW(link.c_str(), L"target", SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
    return true;
#endif
}

// By its attributes: a Unix mode of the link type, or a Windows reparse point (a hard link is neither).
bool symbolic_link(const Listed& entry) {
    return entry.host_os >= 3 ? (entry.attributes & 0170000) == 0120000 : (entry.attributes & 0x400) != 0;
}

class RarFixtures : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures_ = rar_fixtures();
        if (fixtures_.empty())
            GTEST_SKIP() << "../shared/fixtures/rar is not there: fixture tests skipped";
        rows_ = parse_manifest(fixtures_ / "MANIFEST.md");
        ASSERT_GE(rows_.size(), 30u) << "MANIFEST.md rows not recognised";
    }

    // A copy of the row's folder, so that volumes are found beside the first one and nothing else is.
    std::string copy_of(const ManifestRow& row, const TempDir& work) {
        const fs::path copy = work.path() / "archive";
        fs::create_directories(copy);
        fs::copy(fixtures_ / row.folder, copy, fs::copy_options::recursive);
        return (copy / row.first_file).string();
    }

    fs::path fixtures_;
    std::vector<ManifestRow> rows_;
};

TEST_F(RarFixtures, ListingMatchesTheManifest) {
    for (const ManifestRow& row : rows_) {
        SCOPED_TRACE(row.folder);
        const Expectation expected = expectation_for(row.folder);
        TempDir work;
        Archive archive(copy_of(row, work), RAR_OM_LIST);
        ASSERT_EQ(static_cast<int>(archive.open_result()), expected.open);
        if (!archive.is_open())
            continue;
        std::vector<Listed> listed;
        std::vector<int> codes;
        EXPECT_EQ(archive.walk(listed, codes, RAR_SKIP), expected.end);
        ASSERT_EQ(listed.size(), row.entries.size());
        for (std::size_t i = 0; i < listed.size(); ++i) {
            const ManifestEntry& want = row.entries[i];
            const Listed& got = listed[i];
            SCOPED_TRACE(want.name);
            const auto renamed = expected.names.find(i);
            EXPECT_EQ(listed_name(got), renamed != expected.names.end() ? renamed->second : want.name);
            if (want.unpacked != "-") {
                EXPECT_EQ(std::to_string(got.unp_size), want.unpacked);
            }
            if (want.packed != "-") {
                EXPECT_EQ(std::to_string(got.pack_size), want.packed);
            }
            if (want.crc != "-") {
                EXPECT_EQ(hex(got.crc), want.crc);
            }
            EXPECT_EQ((got.flags & 0xE0) == 0xE0, want.kind == "dir");
            EXPECT_EQ((got.flags & 0x04) != 0, want.kind == "enc");
            EXPECT_EQ(codes[i], 0);
        }
    }
}

// Files larger than this are tested (decoded and CRC-checked) rather than written, to keep the run short.
constexpr unsigned write_limit = 16u << 20;

// What the callback heard of one file's data: every piece, stored or decoded by either format's
// decoder, at most a MiB, adding up to the file.
struct DataReports {
    std::uint64_t bytes = 0;
    std::size_t largest = 0;
    uLong crc = crc32(0, Z_NULL, 0);

    static int RAR_API record(unsigned int message, LPARAM self, LPARAM p1, LPARAM p2) {
        if (message == UCM_PROCESSDATA) {
            auto& reports = *reinterpret_cast<DataReports*>(self);
            const auto size = static_cast<std::size_t>(p2);
            reports.bytes += size;
            reports.largest = std::max(reports.largest, size);
            reports.crc = crc32(reports.crc, reinterpret_cast<const Bytef*>(p1), static_cast<uInt>(size));
        }
        return message == UCM_CHANGEVOLUME && p2 == RAR_VOL_ASK ? 0 : 1;
    }
};

TEST_F(RarFixtures, ExtractionGivesTheManifestBytesOrACleanError) {
    const int link_code = symbolic_links_are_made() ? ERAR_SUCCESS : ERAR_ECREATE;
    for (const ManifestRow& row : rows_) {
        SCOPED_TRACE(row.folder);
        const Expectation expected = expectation_for(row.folder);
        TempDir work;
        const fs::path dest = work.path() / "dest";
        fs::create_directories(dest);
        Archive archive(copy_of(row, work), RAR_OM_EXTRACT);
        if (!archive.is_open())
            continue;
        DataReports reports;
        RARSetCallback(archive.handle(), &DataReports::record, reinterpret_cast<LPARAM>(&reports));
        std::vector<Listed> listed;
        int end = 0;
        for (std::size_t i = 0;; ++i) {
            Listed entry{};
            if ((end = archive.read(entry)) != 0)
                break;
            listed.push_back(entry);
            SCOPED_TRACE(entry.name);
            ASSERT_LT(i, row.entries.size());
            const ManifestEntry& want = row.entries[i];
            const auto special = expected.codes.find(i);
            const int want_code = special != expected.codes.end() ? special->second
                                  : want.kind == "enc"            ? ERAR_BAD_DATA
                                  : symbolic_link(entry)          ? link_code
                                                                  : ERAR_SUCCESS;
            const bool big = entry.unp_size > write_limit;
            reports = DataReports{};
            EXPECT_EQ(archive.process(big ? RAR_TEST : RAR_EXTRACT, dest.string()), want_code);
            if (want_code == ERAR_SUCCESS && want.kind != "dir" && want.kind != "link") {
                EXPECT_EQ(reports.bytes, entry.unp_size);
                EXPECT_LE(reports.largest, std::size_t{1} << 20);
                EXPECT_EQ(reports.crc, entry.crc);
            }
            const fs::path written = dest / utf8_path(disk_path(entry));
            if (want_code != ERAR_SUCCESS || big) {
                // A refused name cannot be looked for; a refused link leaves nothing at its name.
                const bool refused_name = want_code == ERAR_ECREATE && !symbolic_link(entry);
                if (entry.name.find("..") == std::string::npos && !refused_name) {
                    EXPECT_FALSE(fs::exists(fs::symlink_status(written)));
                }
                continue;
            }
            if (want.kind == "dir") {
                EXPECT_TRUE(fs::is_directory(fs::symlink_status(written)));
            } else if (want.kind == "link") {
                EXPECT_TRUE(fs::exists(fs::symlink_status(written)));
            } else {
                ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(written)));
                EXPECT_EQ(fs::file_size(written), entry.unp_size);
                if (want.crc != "-") {
                    EXPECT_EQ(hex(file_crc(written)), want.crc);
                }
            }
        }
        EXPECT_EQ(end, expected.end);
        EXPECT_EQ(listed.size(), row.entries.size());
        // Nothing lands beside the destination, and no temporary file is left in it.
        std::vector<std::string> beside;
        for (const auto& item : fs::directory_iterator(work.path()))
            beside.push_back(item.path().filename().string());
        std::sort(beside.begin(), beside.end());
        EXPECT_EQ(beside, (std::vector<std::string>{"archive", "dest"}));
        for (const std::string& path : tree_of(dest))
            EXPECT_EQ(path.find(".kelvox-unrar-"), std::string::npos) << path;
    }
}

} // namespace
} // namespace kelvox::testing
