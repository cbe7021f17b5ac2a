#pragma once
// Wrapping of a description or requirements text into the short lines of the detail panel.
#include <QString>
#include <QStringList>

namespace kelvox {

// Cuts `text` into lines of at most `width` characters: a text shorter than the width is one line as it
// stands; otherwise each piece of `width` characters is kept whole when a blank follows it, else cut
// after its last blank (a word longer than the width is split). With `trim`, leading blanks and
// control characters are removed from every piece; trailing blanks always stay.
QStringList wrap_text(const QString& text, qsizetype width, bool trim);

// The text without its leading blanks and control characters.
QString trim_left(const QString& text);

} // namespace kelvox
