#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

const QString kPolish = QString::fromUtf8("Zażółć gęślą jaźń ŻÓŁW Ś");
// The same text as a Polish Windows editor saves it.
const QByteArray kPolishCp1250("Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \xAF\xD3\xA3W \x8C");

struct DecodeCase {
    const char* what;
    QByteArray bytes;
    QString text;
};

TEST(DiscTextDecoding, ChoosesTheEncodingByTheBytes) {
    const DecodeCase cases[] = {
        {"plain ASCII", "<nazwa>Gry</nazwa>", "<nazwa>Gry</nazwa>"},
        {"Windows-1250", kPolishCp1250, kPolish},
        {"valid UTF-8", kPolish.toUtf8(), kPolish},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + kPolish.toUtf8(), kPolish},
        {"a byte-order mark alone", "\xEF\xBB\xBF", ""},
        {"mark before ASCII", "\xEF\xBB\xBF<menu>", "<menu>"},
        {"a lone lead byte is not UTF-8", "G\xC5", QString::fromUtf8("GĹ")},
        {"an overlong slash is not UTF-8", "\xC0\xAF", QString::fromUtf8("ŔŻ")},
        {"an encoded surrogate is not UTF-8", "\xED\xA0\x80", QString::fromUtf8("í\u00A0€")},
        {"a truncated sequence at the end is not UTF-8", "ab\xE2\x82", QString::fromUtf8("abâ‚")},
        {"the undefined bytes map to C1 controls", "\x81\x83\x88\x90\x98",
         QString::fromUtf16(u"\u0081\u0083\u0088\u0090\u0098")},
        {"euro, quotes and dashes", "\x80\x84\x93\x96", QString::fromUtf8("€„“–")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decode_disc_text(c.bytes), c.text) << c.what;
}

TEST(DiscTextDecoding, Utf8Validation) {
    const struct {
        QByteArray bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"abc", true},
        {"\xC5\xBC", true},              // ż
        {"\xF0\x9F\x98\x80", true},      // U+1F600
        {"\xF4\x8F\xBF\xBF", true},      // U+10FFFF
        {"\xF4\x90\x80\x80", false},     // above U+10FFFF
        {"\xE0\x80\x80", false},         // overlong
        {"\xED\xBF\xBF", false},         // surrogate
        {"\x80", false},                 // continuation without a lead
        {"\xC5", false},                 // lead without its continuation
        {"\xC5\x41", false},             // continuation replaced by ASCII
        {"\xF8\x88\x80\x80\x80", false}, // five-byte form
    };
    for (const auto& c : cases)
        EXPECT_EQ(is_valid_utf8(c.bytes), c.valid) << c.bytes.toHex().constData();
}

TEST(Windows1250, EveryByteSurvivesDecodingAndEncoding) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(static_cast<char>(byte));
    EXPECT_EQ(encode_windows_1250(decode_windows_1250(all)), all);
    EXPECT_EQ(encode_windows_1250(kPolish), kPolishCp1250);
}

TEST(Windows1250, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(encode_windows_1250(QString::fromUtf8("a中ß€ø")), QByteArray("a?\xDF\x80?"));
}

TEST(LineSplitting, EndsLinesAtCrLfCrOrLf) {
    const struct {
        QString text;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"\n", {""}},
        {"a\r\nb", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\n\n", {"a", ""}},
        {"\r\r", {"", ""}},
        {"  x  \r\n", {"  x  "}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(split_lines(c.text), c.lines) << c.text.toStdString();
}

TEST(LineSplitting, MarkIsNoTextOfTheFirstLine) {
    EXPECT_EQ(decode_disc_lines("\xEF\xBB\xBF<nazwa>Gry</nazwa>\r\nx"),
              QStringList({"<nazwa>Gry</nazwa>", "x"}));
}

} // namespace
} // namespace kelvox
