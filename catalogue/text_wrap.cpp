#include "catalogue/text_wrap.h"

namespace kelvox {

QString trim_left(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text[start].unicode() <= u' ')
        ++start;
    return text.mid(start);
}

QStringList wrap_text(const QString& text, qsizetype width, bool trim) {
    const qsizetype length = text.size();
    if (width < 1 || length < width)
        return {text};
    QStringList lines;
    const auto keep = [&](const QString& piece) { lines.append(trim ? trim_left(piece) : piece); };
    qsizetype position = 0;
    while (position < length) {
        QString piece = text.mid(position, width);
        if (position + width >= length) {
            keep(piece);
            break;
        }
        if (text[position + width] == QLatin1Char(' ')) {
            // The blank after a full piece starts the next one.
            keep(piece);
            position += width;
            continue;
        }
        const qsizetype last_blank = piece.lastIndexOf(QLatin1Char(' '));
        if (last_blank >= 0)
            piece.truncate(last_blank + 1);
        keep(piece);
        position += piece.size();
    }
    return lines;
}

} // namespace kelvox
