#include "platform/dynamic_library.h"

#include <gtest/gtest.h>

using namespace kelvox;

TEST(DynamicLibraryTest, ModuleBesideTheProgramIsFoundFirst) {
    EXPECT_EQ(DynamicLibrary::program_directory(), QStringLiteral(PROBE_DIR));
    // Only the program's directory holds this module; the loader's own search would not find it.
    auto library = DynamicLibrary::load(QStringLiteral("KELVOXPROBE"));
    ASSERT_NE(library, nullptr);
    EXPECT_NE(library->symbol("RAROpenArchive"), nullptr);
    EXPECT_EQ(library->symbol("RARNoSuchEntry"), nullptr);
}

TEST(DynamicLibraryTest, MissingModulesAreNull) {
    EXPECT_EQ(DynamicLibrary::load(QStringLiteral("kelvox_no_such_module")), nullptr);
    EXPECT_EQ(DynamicLibrary::load_file(QStringLiteral(PROBE_DIR "/libnothing.so")), nullptr);
    // A bare file name is taken relative to the current directory, not searched for.
    EXPECT_EQ(DynamicLibrary::load_file(QStringLiteral("libc.so.6")), nullptr);
}
