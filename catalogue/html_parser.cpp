#include "catalogue/html_parser.h"

#include "catalogue/link_gathering.h"
#include "platform/message_boxes.h"

namespace kelvox {

namespace {

const QString kCommentMark = QStringLiteral("!--");

// Clears the running flag however Execute is left.
class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag_;
};

} // namespace

THTMLParser::THTMLParser(MessageBoxes* message_boxes) : message_boxes_(message_boxes) {}

void THTMLParser::Execute() {
    RunningFlag running(running_);
    Parsed.clear_run_lists();
    QString text;
    QString tag;
    bool in_tag = false;
    LineCount = int32_t(HTML.size());
    for (int32_t n = 1; n <= LineCount; ++n) {
        CurrentLine = n;
        // A handler that shortened the list, against the rules, must not make us read past its end.
        if (n > HTML.size())
            break;
        const QString line = HTML[n - 1];
        if (line.isEmpty())
            continue;
        tokenize_line(line, n, text, tag, in_tag);
        LastLineDone = n;
    }
    // Text after the last tag and an unclosed tag are dropped.
}

void THTMLParser::tokenize_line(const QString& line, int32_t number, QString& text, QString& tag,
                                bool& in_tag) {
    for (const QChar c : line) {
        if (OnParsing)
            OnParsing(*this, number, int32_t(HTML.size()));
        if (c == QLatin1Char('<') && !in_tag) {
            if (!text.isEmpty()) {
                const QString collected = text;
                text.clear();
                AddText(collected);
            }
            in_tag = true;
            tag.append(c);
        } else if (c == QLatin1Char('>') && in_tag) {
            const QString inside = tag.mid(tag.lastIndexOf(QLatin1Char('<')) + 1);
            in_tag = false;
            tag.clear();
            AddTag(inside);
        } else {
            (in_tag ? tag : text).append(c);
        }
    }
}

void THTMLParser::AddText(const QString& text) {
    if (in_title_) {
        title_buffer_ = text;
        return;
    }
    if (OnFoundText)
        OnFoundText(*this, text);
}

void THTMLParser::AddTag(const QString& tag) {
    if (in_title_ && !tag.toUpper().contains(title_end_tag_.toUpper())) {
        title_buffer_ += QLatin1Char('<') + tag + QLatin1Char('>');
        return;
    }
    if (!tag.contains(kCommentMark) && OnFoundTag)
        OnFoundTag(*this, tag);
    dispatch_by_name(tag);
}

void THTMLParser::dispatch_by_name(const QString& tag) {
    // Not trimmed first: a tag that begins with a blank has an empty name.
    const QString name = tag.left(tag.indexOf(QLatin1Char(' '))).toUpper();
    if (name == QLatin1String("A"))
        gather_link(tag, Parsed, [this](const QString& link) {
            if (OnFoundHyperlink)
                OnFoundHyperlink(*this, link);
        });
    else if (name == QLatin1String("IMG"))
        gather_image(tag, Parsed);
    else if (name == QLatin1String("FRAME"))
        gather_frame(tag, Parsed);
    else if (name == QLatin1String("META"))
        gather_meta(tag, Parsed);
    else if (name == kCommentMark) {
        // The tag less "!-- " and " --"; a comment cut short by a ">" inside it comes out empty.
        if (OnFoundComment)
            OnFoundComment(*this, tag.mid(4, qMax<qsizetype>(0, tag.size() - 7)));
    } else if (name == QLatin1String("TITLE")) {
        in_title_ = true;
        title_end_tag_ = QStringLiteral("/TITLE");
    } else if (name == QLatin1String("/TITLE"))
        end_title();
}

void THTMLParser::end_title() {
    if (message_boxes_ != nullptr)
        message_boxes_->show(QStringLiteral("Title : ") + title_buffer_);
    in_title_ = false;
    title_end_tag_.clear();
    Parsed.Title = title_buffer_;
    title_buffer_.clear();
}

} // namespace kelvox
