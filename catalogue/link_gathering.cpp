#include "catalogue/link_gathering.h"

namespace kelvox {

namespace {

const QString kScheme = QStringLiteral("://");
const QString kMailto = QStringLiteral("MAILTO:");
const QString kFtp = QStringLiteral("FTP://");
const QString kHttp = QStringLiteral("HTTP://");

// The file name of the link's document, upper-cased, or empty when the link names no document.
QString document_of(const QString& upper_href) {
    QString rest = upper_href;
    const qsizetype scheme = rest.indexOf(kScheme);
    if (scheme >= 0)
        rest = rest.mid(scheme + kScheme.size());
    else if (rest.contains(kMailto))
        rest = rest.mid(kMailto.size());
    const QString last = rest.mid(rest.lastIndexOf(QLatin1Char('/')) + 1);
    if (!last.contains(QLatin1Char('.')))
        return {};
    const qsizetype query = last.indexOf(QLatin1Char('?'));
    return query >= 0 ? last.left(query) : last;
}

bool one_of(const QString& extension, std::initializer_list<const char*> extensions) {
    for (const char* candidate : extensions) {
        if (extension == QLatin1String(candidate))
            return true;
    }
    return false;
}

// The links record of the document's file type, first matching rule first; null for other types.
TLocalRemote* record_for(const QString& document, TParsed& parsed) {
    const qsizetype dot = document.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return nullptr;
    const QString extension = document.mid(dot);
    if (extension.contains(QLatin1String("HTM")))
        return &parsed.HTML;
    if (one_of(extension, {".JPG", ".JPEG", ".GIF", ".TIF", ".PCX", ".PNG", ".BMP"}))
        return &parsed.Image;
    if (one_of(extension, {".AVI", ".MP3", ".AU", ".MOV", ".MPG", ".MPEG"}))
        return &parsed.Media;
    if (one_of(extension, {".JS", ".CLASS", ".JAVA"}))
        return &parsed.Java;
    if (extension == QLatin1String(".ASP"))
        return &parsed.ASP;
    if (one_of(extension, {".PL", ".CGI"}))
        return &parsed.PERL;
    if (extension.contains(QLatin1String("PHP")))
        return &parsed.PHP;
    if (extension == QLatin1String(".CAB"))
        return &parsed.ActiveX;
    return nullptr;
}

} // namespace

QString attribute_value(const QString& tag, const QString& name) {
    const qsizetype start = tag.toUpper().indexOf(name.toUpper());
    if (start < 0 || name.isEmpty())
        return {};
    bool in_quotes = false;
    qsizetype end = start;
    for (; end < tag.size(); ++end) {
        const QChar c = tag[end];
        if (c == QLatin1Char('"'))
            in_quotes = !in_quotes;
        else if (c == QLatin1Char('>') || (c == QLatin1Char(' ') && !in_quotes))
            break;
    }
    const QString attribute = tag.mid(start, end - start);
    const qsizetype equals = attribute.indexOf(QLatin1Char('='));
    if (equals < 0)
        return {};
    const QString part = attribute.mid(equals + 1);
    const qsizetype open = part.indexOf(QLatin1Char('"'));
    if (open < 0)
        return part;
    const qsizetype close = part.indexOf(QLatin1Char('"'), open + 1);
    return close < 0 ? part.mid(open + 1) : part.mid(open + 1, close - open - 1);
}

void gather_link(const QString& tag, TParsed& parsed,
                 const std::function<void(const QString&)>& on_hyperlink) {
    const QString href = attribute_value(tag, QStringLiteral("href"));
    const QString upper = href.toUpper();

    if (TLocalRemote* record = record_for(document_of(upper), parsed))
        (upper.contains(kHttp) ? record->Remote : record->Local).append(href);

    if (upper.contains(kMailto))
        parsed.EMails.append(href.mid(kMailto.size()));
    else if (upper.contains(kFtp))
        parsed.FTPlinks.append(href);
    else if (upper.contains(kHttp))
        parsed.HTTPlinks.append(href);
    else if (upper.contains(kScheme)) {
        if (on_hyperlink)
            on_hyperlink(href);
    } else
        parsed.Locallinks.append(href);

    parsed.Hyperlinks.append(href);
}

void gather_image(const QString& tag, TParsed& parsed) {
    parsed.Images.append(attribute_value(tag, QStringLiteral("src")));
}

void gather_frame(const QString& tag, TParsed& parsed) {
    parsed.FramePages.append(attribute_value(tag, QStringLiteral("src")));
}

void gather_meta(const QString& tag, TParsed& parsed) {
    const QString name = attribute_value(tag, QStringLiteral("name")).toUpper();
    if (name == QLatin1String("KEYWORD"))
        parsed.Keyword = attribute_value(tag, QStringLiteral("content"));
    else if (name == QLatin1String("DESCRIPTION"))
        parsed.Description = attribute_value(tag, QStringLiteral("content"));
}

} // namespace kelvox
