#pragma once
// Records the tokenizer's events as short strings ("tag a", "text x", "comment note") in their order.
#include "catalogue/html_parser.h"
#include "platform/message_boxes.h"

#include <QString>
#include <QStringList>

namespace kelvox::test {

struct EventRecorder {
    explicit EventRecorder(THTMLParser& parser) {
        parser.OnFoundTag = [this](THTMLParser&, const QString& tag) { events.append("tag " + tag); };
        parser.OnFoundText = [this](THTMLParser&, const QString& text) { events.append("text " + text); };
        parser.OnFoundComment = [this](THTMLParser&, const QString& comment) {
            events.append("comment " + comment);
        };
        parser.OnFoundHyperlink = [this](THTMLParser&, const QString& link) {
            events.append("link " + link);
        };
    }
    QStringList events;
};

// Message boxes that only remember what they were asked to show.
struct RecordingMessageBoxes : MessageBoxes {
    void show(const QString& text) override { shown.append(text); }
    bool confirm(const QString& text, const QString&) override {
        shown.append(text);
        return true;
    }
    QStringList shown;
};

} // namespace kelvox::test
