// Every walk over an archive's blocks ends: a data size that wraps the 64-bit offset back onto a block
// already read is a bad archive, and the fuzzer's mutator can make such headers.
#include "tests/fuzz/unrar_headers/header_blocks.h"
#include "tests/unrar/rar_test_support.h"

#include <gtest/gtest.h>

namespace kelvox::testing {
namespace {

namespace fs = std::filesystem;

RarBytes good_file(const std::string& name, const std::string& text) {
    const RarBytes data = bytes_of(text);
    RarBytes bytes = rar4_header({.name = name, .packed = data.size(), .unpacked = data.size(),
                                  .crc = crc_of(data)});
    append(bytes, data);
    return bytes;
}

// A block of `type` whose 64-bit data size brings the next offset to this block's start minus `back`.
RarBytes wrapping_block(unsigned type, std::uint64_t back) {
    const std::string name = type == 0x7A ? "CMT" : "loop.bin";
    const std::size_t header_size = rar4_header({.type = type, .name = name, .large = true}).size();
    return rar4_header({.type = type, .name = name, .packed = 0 - header_size - back, .large = true});
}

RarBytes end_block() {
    return rar4_block(0x7B, 0x4000, {});
}

struct Walk {
    unsigned open_result;
    std::vector<std::string> names;
    int ended_with;
};

Walk walk(const fs::path& path, unsigned mode, int operation) {
    Archive archive(path.string(), mode);
    Walk seen{archive.open_result(), {}, 0};
    if (!archive.is_open())
        return seen;
    std::vector<Listed> listed;
    std::vector<int> codes;
    seen.ended_with = archive.walk(listed, codes, operation);
    for (const Listed& entry : listed)
        seen.names.push_back(entry.name);
    return seen;
}

TEST(RarWalkProgress, BlocksThatDoNotMoveOnEndTheWalk) {
    TempDir work;
    const std::uint64_t past_the_end = ~0ull - 200; // no wrap, but far beyond the file
    RarBytes far_block = rar4_header({.name = "far.bin", .packed = past_the_end, .large = true});
    struct Case {
        std::string label;
        std::vector<RarBytes> blocks;
        Walk expected;
    } cases[] = {
        {"service block onto itself", {wrapping_block(0x7A, 0)}, {ERAR_BAD_ARCHIVE, {}, 0}},
        {"service block after a file", {good_file("ok.txt", "ok"), wrapping_block(0x7A, 0)},
         {0, {"ok.txt"}, ERAR_BAD_ARCHIVE}},
        {"file block onto itself", {good_file("ok.txt", "ok"), wrapping_block(0x74, 0)},
         {0, {"ok.txt"}, ERAR_BAD_ARCHIVE}},
        {"file block back onto the one before", {good_file("ok.txt", "ok"), wrapping_block(0x74, 9)},
         {0, {"ok.txt"}, ERAR_BAD_ARCHIVE}},
        {"size reaching past the end without wrapping", {good_file("ok.txt", "ok"), far_block},
         {0, {"ok.txt", "far.bin"}, ERAR_END_ARCHIVE}},
    };
    for (const Case& c : cases) {
        RarBytes bytes = rar4_start(0);
        for (const RarBytes& block : c.blocks)
            append(bytes, block);
        append(bytes, end_block());
        write_file(work / "crafted.rar", bytes);
        for (const auto& [mode, operation] : {std::pair{RAR_OM_LIST, RAR_SKIP}, std::pair{RAR_OM_EXTRACT, RAR_TEST},
                                              std::pair{RAR_OM_EXTRACT, RAR_SKIP}}) {
            SCOPED_TRACE(c.label + ", mode " + std::to_string(mode) + ", operation " + std::to_string(operation));
            const Walk seen = walk(work.path() / "crafted.rar", mode, operation);
            EXPECT_EQ(seen.open_result, c.expected.open_result);
            EXPECT_EQ(seen.names, c.expected.names);
            EXPECT_EQ(seen.ended_with, c.expected.ended_with);
        }
    }
}

// The sweep's inputs, kept beside the other shared fixtures.
TEST(RarWalkProgress, SweepInputsEndWithAnError) {
    const fs::path fixtures = rar_fixtures().empty() ? fs::path() : rar_fixtures().parent_path() / "hostile";
    if (fixtures.empty() || !fs::exists(fixtures / "newsub_self.rar"))
        GTEST_SKIP() << "hostile fixtures not present";
    EXPECT_EQ(walk(fixtures / "newsub_self.rar", RAR_OM_EXTRACT, RAR_TEST).open_result, ERAR_BAD_ARCHIVE);
    const Walk after_file = walk(fixtures / "newsub_after_file.rar", RAR_OM_LIST, RAR_SKIP);
    EXPECT_EQ(after_file.open_result, 0u);
    EXPECT_EQ(after_file.names.size(), 1u);
    EXPECT_EQ(after_file.ended_with, ERAR_BAD_ARCHIVE);
}

// What the fuzzer's mutator does: set a data size, then make the header CRCs right again.
TEST(RarWalkProgress, MutatedSizesWithFixedCrcsAreReadAsWritten) {
    TempDir work;
    write_stored_rar(work / "two.rar", {stored_file("a.txt", "first"), stored_file("b.txt", "second")});
    RarBytes older = read_file(work / "two.rar");
    RarBytes newer = rar5_start(false);
    append(newer, rar5_file({.name = "a.txt", .data = bytes_of("first")}));
    append(newer, rar5_file({.name = "b.txt", .data = bytes_of("second")}));
    append(newer, rar5_end(false));
    for (RarBytes* bytes : {&older, &newer}) {
        const auto blocks = fuzz::find_header_blocks(bytes->data(), bytes->size());
        ASSERT_EQ(blocks.size(), 4u) << "main, two files, end";
        // The first file's size grows by one: the second file's header is no longer where it says.
        fuzz::set_data_size(bytes->data(), blocks[1], 6);
        write_file(work / "mutated.rar", *bytes);
        EXPECT_EQ(walk(work.path() / "mutated.rar", RAR_OM_LIST, RAR_SKIP).ended_with, ERAR_BAD_DATA)
            << "the header CRC is still the old one";
        fuzz::fix_header_crcs(bytes->data(), bytes->size());
        write_file(work / "mutated.rar", *bytes);
        Archive archive(work / "mutated.rar", RAR_OM_LIST);
        Listed entry{};
        ASSERT_EQ(archive.read(entry), 0);
        EXPECT_EQ(entry.pack_size, 6u);
    }
    // The older format's wrapping size, as the mutator writes it, is the sweep's endless block.
    RarBytes looping = rar4_start(0);
    append(looping, rar4_header({.type = 0x7A, .name = "CMT", .large = true}));
    append(looping, good_file("ok.txt", "ok"));
    append(looping, end_block());
    const auto blocks = fuzz::find_header_blocks(looping.data(), looping.size());
    ASSERT_EQ(blocks.size(), 4u);
    ASSERT_NE(blocks[1].size_high, 0u);
    fuzz::set_data_size(looping.data(), blocks[1], 0 - (blocks[1].checked_end - blocks[1].at));
    fuzz::fix_header_crcs(looping.data(), looping.size());
    write_file(work / "looping.rar", looping);
    EXPECT_EQ(walk(work.path() / "looping.rar", RAR_OM_LIST, RAR_SKIP).open_result, ERAR_BAD_ARCHIVE);
}

} // namespace
} // namespace kelvox::testing
