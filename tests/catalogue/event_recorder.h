#pragma once
// Records the tokenizer's events as short strings ("tag a", "text x", "comment note") in their order.
#include "catalogue/html_parser.h"

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

} // namespace kelvox::test
