// The stored-RAR writer the tests and the demo disc build archives with.
#include "tests/unrar/rar_test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kelvox::testing {
namespace {

namespace fs = std::filesystem;

TEST(StoredRarWriter, VolumesRespectTheirSizeAndCarryEveryByte) {
    StoredRarEntry big;
    big.name = "data\\big.bin";
    big.data.resize(12345);
    for (std::size_t i = 0; i < big.data.size(); ++i)
        big.data[i] = static_cast<unsigned char>(i * 31);
    for (const std::size_t volume_size : {200u, 1000u, 5000u, 20000u}) {
        SCOPED_TRACE(volume_size);
        TempDir work;
        write_stored_rar(work / "w.rar", {stored_file("a.txt", "a"), big, stored_file("z.txt", "zz")},
                         volume_size);
        std::vector<std::string> files;
        for (const auto& item : fs::directory_iterator(work.path()))
            files.push_back(item.path().filename().string());
        std::sort(files.begin(), files.end());
        const std::vector<std::string> names = stored_rar_volume_names(work / "w.rar", files.size());
        ASSERT_FALSE(names.empty());
        for (std::size_t i = 0; i < names.size(); ++i) {
            EXPECT_EQ(fs::path(names[i]).filename().string(), files[i]);
            EXPECT_LE(fs::file_size(names[i]), volume_size);
        }
        Archive archive(names.front());
        std::vector<Listed> listed;
        std::vector<int> codes;
        EXPECT_EQ(archive.walk(listed, codes, RAR_EXTRACT, work / "out"), ERAR_END_ARCHIVE);
        EXPECT_EQ(codes, (std::vector<int>{0, 0, 0}));
        EXPECT_EQ(read_file(work.path() / "out" / "data" / "big.bin"), big.data);
    }
}

TEST(StoredRarWriter, OneFileWithoutAVolumeSizeAndErrorsAsExceptions) {
    TempDir work;
    write_stored_rar(work / "one.rar", {stored_file("a.txt", "a")});
    EXPECT_EQ(std::vector<std::string>{"one.rar"}, tree_of(work.path()));
    EXPECT_THROW(write_stored_rar(work / "tiny.rar", {stored_file("a.txt", "a")}, 40), std::runtime_error);
    EXPECT_THROW(write_stored_rar((work.path() / "missing" / "x.rar").string(), {stored_file("a.txt", "a")}),
                 std::runtime_error);
    EXPECT_EQ(stored_rar_volume_names("/d/set.rar", 12).front(), "/d/set.part01.rar");
    EXPECT_EQ(stored_rar_volume_names("/d/set", 3).back(), "/d/set.part3.rar");
}

// The independent lister, where installed, reads the writer's archives the same way.
TEST(StoredRarWriter, IndependentListerAgrees) {
    if (std::system("command -v lsar >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "lsar is not installed";
    TempDir work;
    write_stored_rar(work / "l.rar", {stored_file("dir\\one.txt", "one"), stored_file("two.txt", "two")},
                     100);
    const std::string command = "lsar -t '" + stored_rar_volume_names(work / "l.rar", 1).front() + "' > '" +
                                (work / "out.txt") + "' 2>&1";
    // 100 bytes per volume make one volume per entry.
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::vector<unsigned char> report = read_file(work / "out.txt");
    const std::string text(report.begin(), report.end());
    EXPECT_NE(text.find("2 passed, 0 failed"), std::string::npos) << text;
}

} // namespace
} // namespace kelvox::testing
