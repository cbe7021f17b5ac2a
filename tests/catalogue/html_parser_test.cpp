#include "catalogue/html_parser.h"

#include "tests/catalogue/event_recorder.h"
#include "tests/support/fake_message_boxes.h"

#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kelvox {
namespace {

using test::EventRecorder;

QStringList run(const QStringList& lines) {
    THTMLParser parser(nullptr);
    EventRecorder recorder(parser);
    parser.HTML = lines;
    parser.Execute();
    return recorder.events;
}

TEST(Tokenizer, CutsLinesIntoTagsAndTexts) {
    const struct {
        QStringList lines;
        QStringList events;
    } cases[] = {
        {{"<a>x</a>"}, {"tag a", "text x", "tag /a"}},
        {{"<b> </b>"}, {"tag b", "text  ", "tag /b"}},
        {{"<b></b>"}, {"tag b", "tag /b"}},
        {{"x > y<t>"}, {"text x > y", "tag t"}},
        {{"<a <b>"}, {"tag b"}},
        {{"<na", "zwa>Gry"}, {"tag nazwa"}},
        {{"<x>ab", "cd<y>"}, {"tag x", "text abcd", "tag y"}},
        {{"<x>tail"}, {"tag x"}},
        {{"<x>tail<y"}, {"tag x", "text tail"}},
        {{"<!-- note -->"}, {"comment note"}},
        {{"<!-- a > b --><x>"}, {"comment ", "text  b -->", "tag x"}},
        {{"<!--nospace-->"}, {}},
        {{"<Nazwa Id=1 >"}, {"tag Nazwa Id=1 "}},
        {{"<>x<>"}, {"tag ", "text x", "tag "}},
        {{"", "<a>", "", "b", "<c>"}, {"tag a", "text b", "tag c"}},
        {{"<menu>", "  <nazwa>Gry</nazwa>"}, {"tag menu", "text   ", "tag nazwa", "text Gry", "tag /nazwa"}},
        {{"no tags at all"}, {}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.lines), c.events) << c.lines.join("|").toStdString();
}

TEST(Tokenizer, LineCounters) {
    const struct {
        QStringList lines;
        int line_count;
        int last_line_done;
    } cases[] = {
        {{"<a>", "b", "<c>"}, 3, 3},
        {{"<a>", "<b>", ""}, 3, 2},
        {{"<a>", "", ""}, 3, 1},
    };
    for (const auto& c : cases) {
        THTMLParser parser(nullptr);
        parser.HTML = c.lines;
        parser.Execute();
        EXPECT_EQ(parser.LineCount, c.line_count);
        EXPECT_EQ(parser.CurrentLine, c.line_count);
        EXPECT_EQ(parser.LastLineDone, c.last_line_done);
    }
}

TEST(Tokenizer, RunOverNoLinesKeepsTheLastLineDone) {
    THTMLParser parser(nullptr);
    parser.HTML = QStringList{"<a>", "<b>", "<c>", ""};
    parser.Execute();
    ASSERT_EQ(parser.LastLineDone, 3);
    parser.HTML.clear();
    parser.Execute();
    EXPECT_EQ(parser.LineCount, 0);
    EXPECT_EQ(parser.LastLineDone, 3);
    parser.HTML = QStringList{"<a>"};
    parser.Execute();
    EXPECT_EQ(parser.LastLineDone, 1);
}

TEST(Tokenizer, ProgressIsReportedForEveryCharacter) {
    THTMLParser parser(nullptr);
    QList<QPair<int, int>> calls;
    parser.OnParsing = [&](THTMLParser& sender, int32_t lines, int32_t total) {
        EXPECT_EQ(&sender, &parser);
        calls.append({lines, total});
    };
    parser.HTML = QStringList{"<a>", "", "xy"};
    parser.Execute();
    const QList<QPair<int, int>> expected = {{1, 3}, {1, 3}, {1, 3}, {3, 3}, {3, 3}};
    EXPECT_EQ(calls, expected);
}

TEST(Tokenizer, RunningOnlyInsideExecuteEvenWhenAHandlerThrows) {
    THTMLParser parser(nullptr);
    QStringList seen;
    parser.OnFoundTag = [&](THTMLParser& sender, const QString& tag) {
        EXPECT_TRUE(sender.Running());
        seen.append(tag);
        if (tag == "stop")
            throw std::runtime_error("stop");
    };
    EXPECT_FALSE(parser.Running());
    parser.HTML = QStringList{"<a><stop><b>"};
    EXPECT_THROW(parser.Execute(), std::runtime_error);
    EXPECT_FALSE(parser.Running());
    EXPECT_EQ(seen, QStringList({"a", "stop"}));
    // The input after the throw is never read: the next run starts over.
    parser.HTML = QStringList{"<c>"};
    parser.Execute();
    EXPECT_EQ(seen, QStringList({"a", "stop", "c"}));
}

TEST(Tokenizer, DirectCallsDispatchLikeExecute) {
    THTMLParser parser(nullptr);
    EventRecorder recorder(parser);
    parser.AddTag("nazwa");
    parser.AddText("  x ");
    parser.AddTag("!-- c --");
    parser.AddTag("a href=news://x");
    EXPECT_EQ(recorder.events,
              QStringList({"tag nazwa", "text   x ", "comment c", "tag a href=news://x", "link news://x"}));
    EXPECT_FALSE(parser.Running());
}

TEST(Tokenizer, TitleIsCollectedAndShown) {
    FakeMessageBoxes boxes;
    THTMLParser parser(&boxes);
    EventRecorder recorder(parser);
    parser.HTML = QStringList{"<title>Strona <b>gł", QString::fromUtf8("ówna</b> x</TITLE><p>po")};
    parser.Execute();
    // Inside the title tags are collected, each text replaces what was collected so far.
    EXPECT_EQ(boxes.shown, QStringList({"Title :  x"}));
    EXPECT_EQ(parser.Parsed.Title, " x");
    EXPECT_EQ(recorder.events, QStringList({"tag title", "tag /TITLE", "tag p"}));
}

TEST(Tokenizer, UnclosedTitleSurvivesIntoTheNextRun) {
    FakeMessageBoxes boxes;
    THTMLParser parser(&boxes);
    EventRecorder recorder(parser);
    parser.HTML = QStringList{"<title>Pierwsza"};
    parser.Execute();
    parser.HTML = QStringList{"<nazwa>Gry</nazwa></title><nazwa>Programy</nazwa>"};
    parser.Execute();
    EXPECT_EQ(recorder.events,
              QStringList({"tag title", "tag /title", "tag nazwa", "text Programy", "tag /nazwa"}));
    EXPECT_EQ(boxes.shown, QStringList({"Title : Gry</nazwa>"}));
    EXPECT_EQ(parser.Parsed.Title, "Gry</nazwa>");
}

TEST(Tokenizer, TitleWithoutMessageBoxesStillEnds) {
    THTMLParser parser(nullptr);
    EventRecorder recorder(parser);
    parser.HTML = QStringList{"<TITLE>T</title>x<y>"};
    parser.Execute();
    EXPECT_EQ(parser.Parsed.Title, "T");
    EXPECT_EQ(recorder.events, QStringList({"tag TITLE", "tag /title", "text x", "tag y"}));
}

} // namespace
} // namespace kelvox
