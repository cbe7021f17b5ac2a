#pragma once
// THTMLParser: a lenient, non-validating markup tokenizer. It cuts a list of lines into tags and texts
// and hands each, in order, to its events; beside that it keeps an HTML page's title and gathers its
// links into Parsed. It knows no nesting, decodes no character references, reports no errors and
// never rejects input: what it cannot pair it drops.
//
// Lines are joined with nothing between them; a tag's text is what stood between "<" and ">" (after
// the last "<" when several opened); a text is what stood between two tags; a text after the last tag
// and an unclosed tag at the end are dropped without an event.
#include "catalogue/parsed.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace kelvox {

class MessageBoxes;
class THTMLParser;

using TOnFoundTag = std::function<void(THTMLParser& Sender, const QString& Tag)>;
using TOnFoundText = std::function<void(THTMLParser& Sender, const QString& Text)>;
using TOnFoundComment = std::function<void(THTMLParser& Sender, const QString& Comment)>;
using TOnFoundHyperlink = std::function<void(THTMLParser& Sender, const QString& Hyperlink)>;
using TOnParsing = std::function<void(THTMLParser& Sender, int32_t Lines, int32_t Total)>;

class THTMLParser {
public:
    // The title of a page is shown in a message box when its closing tag arrives; null shows nothing.
    explicit THTMLParser(MessageBoxes* message_boxes);

    // The lines to tokenize. Handlers must not change it while Execute runs.
    QStringList HTML;
    TParsed Parsed;

    TOnFoundComment OnFoundComment;
    TOnFoundHyperlink OnFoundHyperlink;
    TOnFoundTag OnFoundTag;
    TOnFoundText OnFoundText;
    // Once for every character, with the line number and the number of lines.
    TOnParsing OnParsing;

    // 1-based number of the last non-empty line whose characters have all been processed; never reset.
    int32_t LastLineDone = 0;
    // 1-based number of the line being processed.
    int32_t CurrentLine = 0;
    // Number of lines when the last Execute began.
    int32_t LineCount = 0;

    // Tokenizes HTML from its first line to its last; events fire inside, in input order. An exception
    // from a handler leaves at once, with the rest of the input unread.
    void Execute();
    // True from the start of Execute until it returns (or an exception leaves it).
    bool Running() const { return running_; }

    // The dispatch of one tag and one text, as Execute does it; public so that a caller can feed its own.
    void AddTag(const QString& tag);
    void AddText(const QString& text);

private:
    void tokenize_line(const QString& line, int32_t number, QString& text, QString& tag, bool& in_tag);
    void dispatch_by_name(const QString& tag);
    void end_title();

    MessageBoxes* message_boxes_;
    bool running_ = false;
    // The title state survives from one run to the next: an unclosed title keeps collecting.
    bool in_title_ = false;
    QString title_buffer_;
    QString title_end_tag_;
};

} // namespace kelvox
