// The module's naming and path rules, checked one by one.
#include "tests/unrar/rar_test_support.h"
#include "unrar/names.h"
#include "unrar/rar_error.h"
#include "unrar/safe_path.h"
#include "unrar/volume_names.h"

#include <gtest/gtest.h>

namespace kelvox::unrar {
namespace {

using testing::on_windows;

TEST(VolumeNames, NextNameKeepsTheSchemeAndTheDigitWidth) {
    struct Case {
        std::string current;
        bool new_naming;
        std::string next;
    } cases[] = {
        {"/d/set.part1.rar", true, "/d/set.part2.rar"},
        {"/d/set.part9.rar", true, "/d/set.part10.rar"},
        {"/d/set.part09.rar", true, "/d/set.part10.rar"},
        {"/d/set.part0099.rar", true, "/d/set.part0100.rar"},
        {"/d/SET.PART3.RAR", true, "/d/SET.PART4.RAR"},
        {"/d/set.rar", false, "/d/set.r00"},
        {"/d/set.r00", false, "/d/set.r01"},
        {"/d/set.r09", false, "/d/set.r10"},
        {"/d/set.r99", false, "/d/set.s00"},
        {"/d/SET.RAR", false, "/d/SET.R00"},
        // Newer naming announced but not followed by the name: the older scheme still finds volumes.
        {"/d/set.rar", true, "/d/set.r00"},
        {"/d/part1.rar", true, "/d/part1.r00"},
        {"/d.part1/set", false, "/d.part1/set.r00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(next_volume_name(c.current, c.new_naming), c.next) << c.current;
}

// Windows refuses the names it would misread; every other system takes them as they are.
TEST(SafePath, ComponentsOfAcceptedNames) {
    struct Case {
        std::string name;
        bool newer;
        unsigned host;
        std::vector<std::string> components;
        bool windows_refuses = false;
    } cases[] = {
        {"a\\b.txt", false, 2, {"a", "b.txt"}},
        {"a/b.txt", false, 3, {"a", "b.txt"}},
        {"a\\b.txt", false, 3, {"a", "b.txt"}},
        {"back\\slash.txt", true, 2, {"back", "slash.txt"}},
        {"back\\slash.txt", true, 3, {"back\\slash.txt"}, true},
        {"..\\x", true, 3, {"..\\x"}, true}, // one odd but harmless Unix name
        {"./a//b", true, 3, {"a", "b"}},
        {"dir\\c:\\f", false, 2, {"dir", "c:", "f"}, true},
        {"dir\\CON.txt", false, 2, {"dir", "CON.txt"}, true},
    };
    for (const Case& c : cases) {
        if (on_windows && c.windows_refuses) {
            EXPECT_THROW(safe_components(c.name, c.newer, c.host), RarError) << c.name;
            continue;
        }
        EXPECT_EQ(safe_components(c.name, c.newer, c.host), c.components) << c.name;
    }
}

TEST(SafePath, NamesWindowsWouldMisreadAreKnownOnEverySystem) {
    for (const std::string name :
         {"CON", "con.txt", "Nul .log", "aux.tar.gz", "COM1", "lpt9.x", "COM\xC2\xB9", "CONOUT$", "a:stream",
          "trailing.", "trailing ", "a<b", "a|b", "a?", "tab\t"})
        EXPECT_TRUE(windows_misreads(name)) << name;
    for (const std::string name :
         {"CONSOLE", "COM0", "COM10", "LPT", "x.con", "a.b", ".hidden", "\xC5\xBC\xC3\xB3\xC5\x82w"})
        EXPECT_FALSE(windows_misreads(name)) << name;
}

TEST(SafePath, NamesThatCouldLeaveTheDestinationAreRefused) {
    struct Case {
        std::string name;
        bool newer;
        unsigned host;
    } cases[] = {
        {"", false, 2},      {"..", false, 2},
        {"../a", true, 3},   {"a/../../b", true, 3},
        {"..\\a", false, 3}, {"..\\a", true, 2},
        {"/etc/x", true, 3}, {"\\x", false, 2},
        {"\\x", true, 0},    {"C:\\x", false, 2},
        {"C:x", true, 2},    {"./.", false, 2},
        {"a/..", true, 3},   {std::string("a\0b", 3), false, 2},
    };
    for (const Case& c : cases) {
        try {
            safe_components(c.name, c.newer, c.host);
            ADD_FAILURE() << "accepted " << c.name;
        } catch (const RarError& error) {
            EXPECT_EQ(error.code, ERAR_ECREATE) << c.name;
        }
    }
}

TEST(SafePath, LinkTargetsMustStayInside) {
    struct Case {
        std::vector<std::string> link;
        std::string target;
        bool backslash;
        bool inside;
    } cases[] = {
        {{"l"}, "t", false, true},
        {{"d", "l"}, "../t", false, true},
        {{"d", "l"}, "../../t", false, false},
        {{"l"}, "../t", false, false},
        {{"d", "e", "l"}, "../../x/t", false, true},
        {{"d", "e", "l"}, "../../x/../t", false, false}, // x may be a link to anywhere inside
        {{"t"}, "l/..", false, false},                   // with l -> "." this is the destination's parent
        {{"l"}, "a/../../t", false, false},
        {{"l"}, "/t", false, false},
        {{"d", "l"}, "..\\..\\t", true, false},
        {{"d", "l"}, "..\\..\\t", false, !on_windows}, // one odd file name inside d, which Windows refuses
        {{"l"}, "C:\\t", true, false},
        {{"l"}, "", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(link_stays_inside(c.link, c.target, c.backslash), c.inside) << c.target;
}

TEST(Names, PackedUnicodeNamesAreUnpacked) {
    // "Żółw.txt": high byte 0x01 for Ż (U+017B) and ł (U+0142); ó (U+00F3) as a plain byte.
    const std::string oem = "Zolw.txt";
    std::string stored = oem + '\0';
    stored += '\x01'; // high byte
    // Opcodes, two bits each, high bits first: 1 (with high byte), 0 (plain), 1, then 3 (copy the rest).
    stored += static_cast<char>(0b01000111);
    stored += '\x7B';                  // Ż = 0x01 0x7B
    stored += '\xF3';                  // ó
    stored += '\x42';                  // ł = 0x01 0x42
    stored += static_cast<char>(0x03); // copy 3 + 2 = 5 characters from the OEM name: "w.txt"
    EXPECT_EQ(unicode_name_to_utf8(stored), "Żółw.txt");
    EXPECT_EQ(unicode_name_to_utf8("plain utf-8 ż"), "plain utf-8 ż");
    // Cut short: what was decoded is kept, nothing is read past the end.
    EXPECT_EQ(unicode_name_to_utf8(oem + '\0' + '\x01' + static_cast<char>(0b10000000) + '\x7B'), "Zolw.txt");
}

TEST(Names, OemNamesFromPolishSystemsBecomeUtf8) {
    EXPECT_EQ(oem_name_to_utf8("\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE", 2), "ąćęłńóśźż");
    EXPECT_EQ(oem_name_to_utf8("\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD", 0), "ĄĆĘŁŃÓŚŹŻ");
    EXPECT_EQ(oem_name_to_utf8("M\x81ller", 2), "Müller");
    EXPECT_EQ(oem_name_to_utf8("raw\xC3\xA9", 3), "raw\xC3\xA9");
}

TEST(Names, Utf8PrefixNeverCutsASequence) {
    EXPECT_EQ(utf8_prefix("abc", 10), "abc");
    EXPECT_EQ(utf8_prefix("aż", 2), "a");
    EXPECT_EQ(utf8_prefix("aż", 3), "aż");
    EXPECT_EQ(utf8_prefix("👋x", 3), "");
}

} // namespace
} // namespace kelvox::unrar
