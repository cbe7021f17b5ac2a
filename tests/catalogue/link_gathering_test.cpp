#include "catalogue/html_parser.h"
#include "catalogue/link_gathering.h"

#include "tests/catalogue/event_recorder.h"

#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

namespace kelvox {
namespace {

TEST(AttributeValue, FirstOccurrenceOfTheNameWins) {
    const struct {
        QString tag;
        QString name;
        QString value;
    } cases[] = {
        {"IMG SRC=pic.gif", "src", "pic.gif"},
        {"img datasrc=x src=y", "src", "x"},
        {"img src=\"a b.gif\" alt=x", "src", "a b.gif"},
        {"img alt=\"see src=q\" src=y", "src", " src=y"},
        {"img src='a b.gif'", "src", "'a"},
        {"img src=\"unclosed", "src", "unclosed"},
        {"img src=x>y", "src", "x"},
        {"img src", "src", ""},
        {"img alt=x", "src", ""},
        {"a href=x=y", "href", "x=y"},
        {"a href=pre\"in\"post", "href", "in"},
        {"a HREF = x", "href", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(attribute_value(c.tag, c.name), c.value) << c.tag.toStdString();
}

struct Gathered {
    QStringList links;
    TParsed parsed;
};

Gathered gather(const QStringList& tags) {
    Gathered result;
    THTMLParser parser(nullptr);
    parser.OnFoundHyperlink = [&](THTMLParser&, const QString& link) { result.links.append(link); };
    for (const QString& tag : tags)
        parser.AddTag(tag);
    result.parsed = parser.Parsed;
    return result;
}

TEST(LinkGathering, LinksAreFiledByKindAndType) {
    using L = QStringList;
    const struct {
        QString tag;
        L html_remote, html_local, image_local, php_remote, media_local, hyperlinks, http, ftp, local, emails,
            fired;
    } cases[] = {
        {"a href=http://x.pl/a/index.html",
         {"http://x.pl/a/index.html"},
         {},
         {},
         {},
         {},
         {"http://x.pl/a/index.html"},
         {"http://x.pl/a/index.html"},
         {},
         {},
         {},
         {}},
        {"a href=index.html", {}, {"index.html"}, {}, {}, {}, {"index.html"}, {}, {}, {"index.html"}, {}, {}},
        {"A HREF=\"obrazki/Shot.JPG\"",
         {},
         {},
         {"obrazki/Shot.JPG"},
         {},
         {},
         {"obrazki/Shot.JPG"},
         {},
         {},
         {"obrazki/Shot.JPG"},
         {},
         {}},
        {"a href=HTTP://s/x.php3?a=b.c",
         {},
         {},
         {},
         {"HTTP://s/x.php3?a=b.c"},
         {},
         {"HTTP://s/x.php3?a=b.c"},
         {"HTTP://s/x.php3?a=b.c"},
         {},
         {},
         {},
         {}},
        {"a href=ftp://s/song.mp3",
         {},
         {},
         {},
         {},
         {"ftp://s/song.mp3"},
         {"ftp://s/song.mp3"},
         {},
         {"ftp://s/song.mp3"},
         {},
         {},
         {}},
        {"a href=news://x", {}, {}, {}, {}, {}, {"news://x"}, {}, {}, {}, {}, {"news://x"}},
        {"a href=mailto:someone", {}, {}, {}, {}, {}, {"mailto:someone"}, {}, {}, {}, {"someone"}, {}},
        {"a href=mailto:a@b.htm",
         {},
         {"mailto:a@b.htm"},
         {},
         {},
         {},
         {"mailto:a@b.htm"},
         {},
         {},
         {},
         {"a@b.htm"},
         {}},
        {"a href=http://x.pl/dir",
         {},
         {},
         {},
         {},
         {},
         {"http://x.pl/dir"},
         {"http://x.pl/dir"},
         {},
         {},
         {},
         {}},
        {"a name=top", {}, {}, {}, {}, {}, {""}, {}, {}, {""}, {}, {}},
    };
    for (const auto& c : cases) {
        const Gathered g = gather({c.tag});
        const std::string what = c.tag.toStdString();
        EXPECT_EQ(g.parsed.HTML.Remote, c.html_remote) << what;
        EXPECT_EQ(g.parsed.HTML.Local, c.html_local) << what;
        EXPECT_EQ(g.parsed.Image.Local, c.image_local) << what;
        EXPECT_EQ(g.parsed.PHP.Remote, c.php_remote) << what;
        EXPECT_EQ(g.parsed.Media.Local, c.media_local) << what;
        EXPECT_EQ(g.parsed.Hyperlinks, c.hyperlinks) << what;
        EXPECT_EQ(g.parsed.HTTPlinks, c.http) << what;
        EXPECT_EQ(g.parsed.FTPlinks, c.ftp) << what;
        EXPECT_EQ(g.parsed.Locallinks, c.local) << what;
        EXPECT_EQ(g.parsed.EMails, c.emails) << what;
        EXPECT_EQ(g.links, c.fired) << what;
    }
}

TEST(LinkGathering, FileTypesPickTheirRecord) {
    const struct {
        QString document;
        TLocalRemote TParsed::*record;
    } cases[] = {
        {"a.shtml", &TParsed::HTML}, {"a.JPEG", &TParsed::Image}, {"a.bmp", &TParsed::Image},
        {"a.mpeg", &TParsed::Media}, {"a.au", &TParsed::Media},   {"a.class", &TParsed::Java},
        {"a.js", &TParsed::Java},    {"a.asp", &TParsed::ASP},    {"a.cgi", &TParsed::PERL},
        {"a.pl", &TParsed::PERL},    {"a.php4", &TParsed::PHP},   {"a.cab", &TParsed::ActiveX},
    };
    TLocalRemote TParsed::*const all[] = {&TParsed::HTML, &TParsed::Image, &TParsed::Media,   &TParsed::Java,
                                          &TParsed::ASP,  &TParsed::PERL,  &TParsed::ActiveX, &TParsed::PHP};
    for (const auto& c : cases) {
        const Gathered g = gather({"a href=dir/" + c.document});
        for (auto record : all) {
            const bool expected = record == c.record;
            EXPECT_EQ((g.parsed.*record).Local.size(), expected ? 1 : 0) << c.document.toStdString();
        }
    }
    // Extensions outside the table and names without a dot go nowhere.
    for (const QString other : {"a.aspx", "a.zip", "README", "a.jpg.bak"}) {
        const Gathered g = gather({"a href=" + other});
        for (auto record : all)
            EXPECT_TRUE((g.parsed.*record).Local.isEmpty()) << other.toStdString();
    }
}

TEST(LinkGathering, ImagesFramesAndMeta) {
    const Gathered g =
        gather({"IMG SRC=pic.gif", "img datasrc=x src=y", "img src=\"a b.png\"", "frame src=top.html",
                "META name=keyword content=gry", "meta NAME=\"Description\" content=\"Opis gry\"",
                "meta name=KEYWORDS content=nie", " img src=blank-first"});
    EXPECT_EQ(g.parsed.Images, QStringList({"pic.gif", "x", "a b.png"}));
    EXPECT_EQ(g.parsed.FramePages, QStringList({"top.html"}));
    EXPECT_EQ(g.parsed.Keyword, "gry");
    EXPECT_EQ(g.parsed.Description, "Opis gry");
}

TEST(LinkGathering, RunListsStartEmptyButRecordsAccumulate) {
    THTMLParser parser(nullptr);
    parser.HTML = QStringList{"<a href=http://x/a.html><img src=p.gif><meta name=keyword content=k>"};
    parser.Execute();
    parser.HTML = QStringList{"<a href=b.html>"};
    parser.Execute();
    EXPECT_EQ(parser.Parsed.Hyperlinks, QStringList({"b.html"}));
    EXPECT_TRUE(parser.Parsed.Images.isEmpty());
    EXPECT_TRUE(parser.Parsed.HTTPlinks.isEmpty());
    EXPECT_EQ(parser.Parsed.HTML.Remote, QStringList({"http://x/a.html"}));
    EXPECT_EQ(parser.Parsed.HTML.Local, QStringList({"b.html"}));
    EXPECT_EQ(parser.Parsed.Keyword, "k");
}

TEST(LinkGathering, CommentMarkHidesTheTagButNotItsLink) {
    THTMLParser parser(nullptr);
    test::EventRecorder recorder(parser);
    parser.AddTag("a href=x.html title=!--");
    EXPECT_TRUE(recorder.events.isEmpty());
    EXPECT_EQ(parser.Parsed.Locallinks, QStringList({"x.html"}));
}

} // namespace
} // namespace kelvox
