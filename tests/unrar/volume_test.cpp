// Volume sets: the next volume found by name, the callback told of each one and asked for a missing one.
#include "tests/unrar/rar_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <utility>

namespace kelvox::testing {
namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> pattern_bytes(std::size_t size) {
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// The callback is a plain C function: it reaches the test's handler through this.
struct Calls {
    std::vector<std::pair<std::string, int>> seen;
    std::function<int(char*, int)> answer = [](char*, int mode) { return mode == RAR_VOL_NOTIFY ? 1 : 0; };
};
Calls* calls = nullptr;

int RAR_API record_call(char* name, int mode) {
    calls->seen.emplace_back(name, mode);
    return calls->answer(name, mode);
}

class RarVolumes : public ::testing::Test {
protected:
    void SetUp() override { calls = &calls_; }
    void TearDown() override { calls = nullptr; }

    // Three entries, the middle one spread over several volumes of `volume_size` bytes.
    std::vector<std::string> make_set(std::size_t volume_size) {
        big_ = pattern_bytes(5000);
        StoredRarEntry big;
        big.name = "big.bin";
        big.data = big_;
        write_stored_rar(work_ / "set.rar",
                         {stored_file("first.txt", "first"), big, stored_file("last.txt", "last")},
                         volume_size);
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(work_.path()))
            if (item.path().filename().string().rfind("set.part", 0) == 0)
                names.push_back(item.path().string());
        std::sort(names.begin(), names.end()); // one digit width for the whole set
        return names;
    }

    TempDir work_;
    Calls calls_;
    std::vector<unsigned char> big_;
};

TEST_F(RarVolumes, SplitFileIsListedOnceWithItsWholeSizeAndCrc) {
    const std::vector<std::string> names = make_set(600);
    ASSERT_GE(names.size(), 10u);
    EXPECT_NE(names.front().find(".part01.rar"), std::string::npos) << "digit width follows the volume count";
    Archive archive(names.front());
    archive.set_callback(record_call);
    std::vector<Listed> listed;
    std::vector<int> codes;
    EXPECT_EQ(archive.walk(listed, codes, RAR_EXTRACT, work_ / "out"), ERAR_END_ARCHIVE);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[1].name, "big.bin");
    EXPECT_EQ(listed[1].pack_size, 5000u);
    EXPECT_EQ(listed[1].crc, crc_of(big_));
    EXPECT_EQ(listed[1].flags & 0x03, 0x02u);
    EXPECT_EQ(codes, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(read_file(work_.path() / "out" / "big.bin"), big_);
    EXPECT_EQ(read_file(work_.path() / "out" / "last.txt"), bytes_of("last"));
    EXPECT_EQ(listed[2].arc_name, names.back());
    // Every later volume was announced once, in order.
    std::vector<std::pair<std::string, int>> expected;
    for (std::size_t i = 1; i < names.size(); ++i)
        expected.emplace_back(names[i], RAR_VOL_NOTIFY);
    EXPECT_EQ(calls_.seen, expected);
}

TEST_F(RarVolumes, VolumeEndingExactlyWithAFileGoesOnInTheNext) {
    // marker 7 + main 13 + header 32 + "a.bin" + 2000 bytes + end block 7
    const std::size_t exact = 7 + 13 + 32 + 5 + 2000 + 7;
    StoredRarEntry a;
    a.name = "a.bin";
    a.data = pattern_bytes(2000);
    write_stored_rar(work_ / "edge.rar", {a, stored_file("b.txt", std::string(300, 'b'))}, exact);
    const std::vector<std::string> names = stored_rar_volume_names(work_ / "edge.rar", 2);
    ASSERT_EQ(fs::file_size(names[0]), exact);
    ASSERT_TRUE(fs::exists(names[1]));
    Archive archive(names[0]);
    archive.set_callback(record_call);
    std::vector<Listed> listed;
    std::vector<int> codes;
    EXPECT_EQ(archive.walk(listed, codes, RAR_EXTRACT, work_ / "out"), ERAR_END_ARCHIVE);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].flags & 0x03, 0u);
    EXPECT_EQ(listed[1].flags & 0x03, 0u);
    EXPECT_EQ(codes, (std::vector<int>{0, 0}));
    EXPECT_EQ(read_file(work_.path() / "out" / "b.txt"), bytes_of(std::string(300, 'b')));
    EXPECT_EQ(calls_.seen, (std::vector<std::pair<std::string, int>>{{names[1], RAR_VOL_NOTIFY}}));
}

TEST_F(RarVolumes, MissingVolumeRefusedByTheCallbackEndsTheExtraction) {
    const std::vector<std::string> names = make_set(1500);
    ASSERT_GE(names.size(), 4u);
    fs::remove(names[2]);
    Archive archive(names.front());
    archive.set_callback(record_call);
    std::vector<Listed> listed;
    std::vector<int> codes;
    const int end = archive.walk(listed, codes, RAR_EXTRACT, work_ / "out");
    ASSERT_GE(listed.size(), 2u);
    EXPECT_EQ(codes[0], 0);
    EXPECT_EQ(codes[1], ERAR_EOPEN);
    EXPECT_NE(end, ERAR_SUCCESS);
    EXPECT_FALSE(fs::exists(work_.path() / "out" / "big.bin"));
    for (const std::string& path : tree_of(work_.path() / "out"))
        EXPECT_EQ(path.find(".kelvox-unrar-"), std::string::npos) << path;
    const std::pair<std::string, int> asked{names[2], RAR_VOL_ASK};
    EXPECT_NE(std::find(calls_.seen.begin(), calls_.seen.end(), asked), calls_.seen.end());
}

TEST_F(RarVolumes, MissingVolumeWithoutACallbackIsAnOpenError) {
    const std::vector<std::string> names = make_set(1500);
    fs::remove(names[2]);
    Archive archive(names.front());
    Listed entry{};
    ASSERT_EQ(archive.read(entry), 0);
    ASSERT_EQ(archive.process(RAR_EXTRACT, work_ / "out"), 0);
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_EQ(archive.process(RAR_TEST), ERAR_EOPEN);
}

TEST_F(RarVolumes, CallbackNamingTheMovedVolumeLetsTheExtractionGoOn) {
    const std::vector<std::string> names = make_set(1500);
    const fs::path moved = work_.path() / "second disc";
    fs::create_directories(moved);
    std::vector<std::string> moved_names;
    for (std::size_t i = 2; i < names.size(); ++i) {
        moved_names.push_back((moved / fs::path(names[i]).filename()).string());
        fs::rename(names[i], moved_names.back());
    }
    calls_.answer = [&](char* name, int mode) {
        if (mode == RAR_VOL_ASK)
            std::strcpy(name, (moved / fs::path(name).filename()).string().c_str());
        return 1;
    };
    Archive archive(names.front());
    archive.set_callback(record_call);
    std::vector<Listed> listed;
    std::vector<int> codes;
    EXPECT_EQ(archive.walk(listed, codes, RAR_EXTRACT, work_ / "out"), ERAR_END_ARCHIVE);
    EXPECT_EQ(codes, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(read_file(work_.path() / "out" / "big.bin"), big_);
    // Asked once; the volumes after the moved one were found beside it.
    std::vector<std::pair<std::string, int>> expected{{names[1], RAR_VOL_NOTIFY}, {names[2], RAR_VOL_ASK}};
    for (const std::string& name : moved_names)
        expected.emplace_back(name, RAR_VOL_NOTIFY);
    EXPECT_EQ(calls_.seen, expected);
}

TEST_F(RarVolumes, CallbackThatNeverFindsTheVolumeIsNotAskedForEver) {
    const std::vector<std::string> names = make_set(1500);
    fs::remove(names[2]);
    calls_.answer = [](char*, int) { return 1; };
    Archive archive(names.front());
    archive.set_callback(record_call);
    Listed entry{};
    ASSERT_EQ(archive.read(entry), 0);
    ASSERT_EQ(archive.process(RAR_SKIP), 0);
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_EQ(archive.process(RAR_EXTRACT, work_ / "out"), ERAR_EOPEN);
    const auto asks = std::count_if(calls_.seen.begin(), calls_.seen.end(),
                                    [](const auto& call) { return call.second == RAR_VOL_ASK; });
    EXPECT_GT(asks, 1);
    EXPECT_LE(asks, 100);
}

// Closing the archive from inside the callback ends the extraction; the handle goes with it.
TEST_F(RarVolumes, CloseFromTheCallbackLeavesNoTemporaryFile) {
    const std::vector<std::string> names = make_set(1500);
    fs::remove(names[2]);
    fs::create_directories(work_.path() / "out");
    write_file(work_.path() / "out" / "big.bin", bytes_of("kept"));
    Archive archive(names.front());
    archive.set_callback(record_call);
    void* handle = archive.handle();
    calls_.answer = [&](char*, int mode) {
        if (mode == RAR_VOL_ASK)
            RARCloseArchive(handle);
        return 1;
    };
    Listed entry{};
    ASSERT_EQ(archive.read(entry), 0);
    ASSERT_EQ(archive.process(RAR_EXTRACT, work_ / "out"), 0);
    ASSERT_EQ(archive.read(entry), 0);
    EXPECT_NE(archive.process(RAR_EXTRACT, work_ / "out"), 0);
    archive.forget();
    EXPECT_EQ(read_file(work_.path() / "out" / "big.bin"), bytes_of("kept"));
    EXPECT_EQ(tree_of(work_.path() / "out"), (std::vector<std::string>{"big.bin", "first.txt"}));
}

// A continuation is joined only onto the file it continues: the same name and the same whole size.
TEST_F(RarVolumes, ContinuationOfAnotherFileIsNotJoined) {
    const std::vector<unsigned char> data = pattern_bytes(2000);
    const auto older_set = [&](const std::string& name, std::size_t size) {
        const fs::path directory = work_.path() / (name + std::to_string(size));
        fs::create_directories(directory);
        StoredRarEntry entry;
        entry.name = name;
        entry.data.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
        write_stored_rar((directory / "set.rar").string(), {entry}, 1200);
        return std::vector<RarBytes>{read_file(directory / "set.part1.rar"), read_file(directory / "set.part2.rar")};
    };
    const auto newer_part = [&](bool first, const std::string& name, std::uint64_t whole) {
        RarBytes bytes = rar5_start(true);
        const auto half = static_cast<std::ptrdiff_t>(data.size() / 2);
        append(bytes, rar5_file({.name = name,
                                 .data = first ? RarBytes(data.begin(), data.begin() + half)
                                               : RarBytes(data.begin() + half, data.end()),
                                 .has_crc = false,
                                 .from_previous = !first,
                                 .to_next = first,
                                 .unpacked_size = whole}));
        append(bytes, rar5_end(first));
        return bytes;
    };
    const auto a = older_set("a.bin", 2000), b = older_set("b.bin", 2000), longer = older_set("a.bin", 1900);
    struct Case {
        std::string label;
        RarBytes first, second;
        std::vector<std::string> names;
        std::vector<int> codes;
    } cases[] = {
        {"older, its own continuation", a[0], a[1], {"a.bin"}, {0}},
        {"older, another name", a[0], b[1], {"a.bin", "b.bin"}, {ERAR_BAD_DATA, ERAR_BAD_DATA}},
        {"older, another size", a[0], longer[1], {"a.bin", "a.bin"}, {ERAR_BAD_DATA, ERAR_BAD_DATA}},
        {"newer, its own continuation", newer_part(true, "a.bin", 2000), newer_part(false, "a.bin", 2000),
         {"a.bin"}, {0}},
        {"newer, another name, no CRCs", newer_part(true, "a.bin", 2000), newer_part(false, "b.bin", 2000),
         {"a.bin", "b.bin"}, {ERAR_BAD_DATA, ERAR_BAD_DATA}},
        {"newer, another size, no CRCs", newer_part(true, "a.bin", 2000), newer_part(false, "a.bin", 2400),
         {"a.bin", "a.bin"}, {ERAR_BAD_DATA, ERAR_BAD_DATA}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const fs::path joined = work_.path() / "joined";
        fs::remove_all(joined);
        fs::create_directories(joined / "out");
        write_file(joined / "set.part1.rar", c.first);
        write_file(joined / "set.part2.rar", c.second);
        Archive archive((joined / "set.part1.rar").string());
        std::vector<Listed> listed;
        std::vector<int> codes;
        EXPECT_EQ(archive.walk(listed, codes, RAR_EXTRACT, (joined / "out").string()), ERAR_END_ARCHIVE);
        std::vector<std::string> names;
        for (const Listed& entry : listed)
            names.push_back(entry.name);
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(codes, c.codes);
        if (c.codes.front() == 0)
            EXPECT_EQ(read_file(joined / "out" / "a.bin"), data);
        else
            EXPECT_TRUE(tree_of(joined / "out").empty());
    }
}

TEST_F(RarVolumes, SweepContinuationOfAnotherNameFails) {
    const fs::path fixtures = rar_fixtures().empty() ? fs::path() : rar_fixtures().parent_path() / "hostile";
    if (fixtures.empty() || !fs::exists(fixtures / "cont.part1.rar"))
        GTEST_SKIP() << "hostile fixtures not present";
    for (const char* name : {"cont.part1.rar", "cont.part2.rar"})
        fs::copy_file(fixtures / name, work_.path() / name);
    Archive archive(work_ / "cont.part1.rar");
    std::vector<Listed> listed;
    std::vector<int> codes;
    archive.walk(listed, codes, RAR_TEST);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), ERAR_BAD_DATA);
}

} // namespace
} // namespace kelvox::testing
