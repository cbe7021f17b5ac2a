#include "tools/kelvox_check/report_page.h"

#include "catalogue/entry_action.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>

namespace kelvox::check {

namespace {

const QString kBarPicture = QStringLiteral("bar.png");
// The pictures this page writes, and so the only files of the folder it ever removes.
const QRegularExpression kOwnPicture(QStringLiteral("^(bar|panel-[0-9]+-[0-9]+)\\.png$"));

QString panel_picture(std::size_t section, std::size_t entry) {
    return QStringLiteral("panel-%1-%2.png").arg(section + 1).arg(entry + 1);
}

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString quoted(const QString& text) {
    return QStringLiteral("&ldquo;%1&rdquo;").arg(escaped(text));
}

// As make-disc.sh prints a size: bytes, and binary mebibytes to one decimal.
QString bytes_text(qint64 bytes) {
    return QStringLiteral("%1 bytes (%2 MiB)").arg(bytes).arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

const char* const kStyle = R"(
body { font: 15px/1.4 sans-serif; color: #222; background: #f3f3f1; margin: 24px; }
h1 { font-size: 22px; margin: 0 0 4px; }
h2 { font-size: 18px; margin: 32px 0 8px; border-bottom: 1px solid #bbb; }
h3 { font-size: 16px; margin: 0 0 4px; }
img { display: block; background: #000; }
table.size th { text-align: left; padding-right: 16px; vertical-align: top; }
.verdict { font-weight: bold; }
.bad { color: #a3001b; }
.warn { color: #7a4d00; }
.good { color: #1c6b2a; }
.note { color: #555; font-size: 13px; }
.entry { display: flex; gap: 20px; align-items: flex-start; margin: 16px 0; }
.entry .notes { max-width: 560px; }
code { font-size: 13px; }
ul { margin: 4px 0; padding-left: 20px; }
)";

// Problems and warnings of one owner (an entry, or the disc as a whole with -1, -1).
QString findings_html(const DiscReport& report, int section, int entry) {
    const auto items = [&](const std::vector<DiscProblem>& found) {
        QString list;
        for (const DiscProblem& problem : found)
            if (problem.section == section && problem.entry == entry)
                list += QStringLiteral("<li><code>%1</code>: %2</li>\n")
                            .arg(escaped(problem.file), escaped(problem.message));
        return list;
    };
    const QString problems = items(report.problems);
    const QString warnings = items(report.warnings);
    QString html;
    if (!problems.isEmpty())
        html += QStringLiteral("<ul class=\"bad\">\n%1</ul>\n").arg(problems);
    if (!warnings.isEmpty())
        html += QStringLiteral("<ul class=\"warn\">\n%1</ul>\n").arg(warnings);
    if (html.isEmpty())
        html = QStringLiteral("<p class=\"good\">No problems.</p>\n");
    return html;
}

QString menu_size_html(const std::optional<qint64>& menu, const QString& folder, const QString& bundle,
                       const QString& beside, const QString& builder) {
    if (menu)
        return QStringLiteral("%1: <code>%2/</code> from <code>%3</code>, and <code>%4</code>")
            .arg(bytes_text(*menu), folder, escaped(bundle), beside);
    return QStringLiteral("no number yet: the bundle is not at <code>%1</code> (%2 or a first "
                          "<code>make-disc.sh</code> builds it)")
        .arg(escaped(bundle), builder);
}

QString size_html(const DiscSize& size) {
    QString whole;
    if (size.linux_menu && size.windows_menu)
        whole = QStringLiteral("<span class=\"bytes\">%1</span>: the content %2 and the two menus")
                    .arg(bytes_text(size.content + *size.linux_menu + *size.windows_menu),
                         bytes_text(size.content));
    else
        whole = QStringLiteral("the content %1 and the menus, which are not all built yet")
                    .arg(bytes_text(size.content));
    const QString linux_menu = menu_size_html(
        size.linux_menu, QStringLiteral("kelvox-linux"), size.linux_bundle, QStringLiteral("autorun"),
        QStringLiteral("<code>scripts/build-bundle.sh build-disc</code>"));
    const QString windows_menu = menu_size_html(
        size.windows_menu, QStringLiteral("kelvox-windows"), size.windows_bundle,
        QStringLiteral("autorun.inf"),
        QStringLiteral("<code>scripts/build-windows.sh build-windows</code>, half an hour the first time"));
    return QStringLiteral(
               "<h2>The disc's size</h2>\n<table class=\"size\">\n"
               "<tr><th>The disc</th><td>%1</td></tr>\n"
               "<tr><th>Linux menu</th><td>%2</td></tr>\n"
               "<tr><th>Windows menu</th><td>%3</td></tr>\n</table>\n"
               "<p class=\"note\">The bytes of the disc's files, as <code>make-disc.sh</code> counts a disc "
               "written as a directory; an image adds its file system's records, and "
               "<code>make-disc.sh</code> prints the image's own size. This report (<code>%4/</code>) is "
               "left off the disc.</p>\n")
        .arg(whole, linux_menu, windows_menu, kReportFolder);
}

QString bar_html(const MenuPictures& pictures) {
    if (!pictures.failure.isEmpty())
        return QStringLiteral("<p class=\"bad verdict\">The menu does not start with this disc: %1. "
                              "Nothing of it can be drawn.</p>\n")
            .arg(escaped(pictures.failure));
    return QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"The section bar\">\n"
                          "<p class=\"note\">The section bar and the panels as the menu draws them in its "
                          "%4 &times; %5 window, on the skin's wallpaper; full screen gives the bar more "
                          "room.</p>\n")
        .arg(kBarPicture)
        .arg(pictures.section_bar.width())
        .arg(pictures.section_bar.height())
        .arg(pictures.window.width())
        .arg(pictures.window.height());
}

QString entry_html(const DiscReport& report, const MenuPictures& pictures, std::size_t s, std::size_t e) {
    const CatalogueEntry& entry = report.sections[s].entries[e].entry;
    QString html = QStringLiteral("<div class=\"entry\">\n");
    if (s < pictures.panels.size() && e < pictures.panels[s].size()) {
        const QImage& panel = pictures.panels[s][e];
        html += QStringLiteral("<img class=\"panel\" src=\"%1\" width=\"%2\" height=\"%3\" alt=\"The detail "
                               "panel of %4\">\n")
                    .arg(panel_picture(s, e))
                    .arg(panel.width())
                    .arg(panel.height())
                    .arg(escaped(entry.name));
    }
    html += QStringLiteral("<div class=\"notes\">\n<h3>%1</h3>\n<p class=\"note\">directory <code>%2</code>, "
                           "file <code>%3</code> (%4)</p>\n")
                .arg(quoted(entry.name), escaped(entry.path), escaped(entry.exe_path),
                     entry_action_name(entry_action(entry.exe_path)));
    return html + findings_html(report, int(s), int(e)) + QStringLiteral("</div>\n</div>\n");
}

QString sections_html(const DiscReport& report, const MenuPictures& pictures) {
    QString html;
    for (std::size_t s = 0; s < report.sections.size(); ++s) {
        const CheckedSection& section = report.sections[s];
        html += QStringLiteral("<h2>Section %1: %2</h2>\n<p>Ticker line: %3</p>\n")
                    .arg(s + 1)
                    .arg(quoted(section.name),
                         section.ticker ? quoted(*section.ticker) : QStringLiteral("(none)"));
        for (std::size_t e = 0; e < section.entries.size(); ++e)
            html += entry_html(report, pictures, s, e);
    }
    return html;
}

bool save(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
}

bool save_picture(const QDir& folder, const QString& name, const QImage& picture, QStringList& written,
                  QString& error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    if (!save(folder.filePath(name), bytes, error))
        return false;
    written << name;
    return true;
}

QString report_html(const QString& root, const DiscReport& report, const MenuPictures& pictures,
                    const DiscSize& size) {
    const QString warnings = QStringLiteral("%1 warning(s)").arg(report.warnings.size());
    const QString verdict =
        report.problems.empty()
            ? QStringLiteral("<p class=\"good verdict\">No problems, %1.</p>\n").arg(warnings)
            : QStringLiteral("<p class=\"bad verdict\">%1 problem(s), %2: the disc is not ready.</p>\n")
                  .arg(report.problems.size())
                  .arg(warnings);
    QString html = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                                  "<title>Disc report: %1</title>\n<style>%2</style>\n</head>\n<body>\n"
                                  "<h1>Disc report: <code>%1</code></h1>\n")
                       .arg(escaped(root), QString::fromLatin1(kStyle));
    html += verdict + size_html(size);
    html += QStringLiteral("<h2>The section bar</h2>\n") + bar_html(pictures);
    html += QStringLiteral("<h3>The disc as a whole</h3>\n") + findings_html(report, -1, -1);
    html += sections_html(report, pictures);
    return html + QStringLiteral("</body>\n</html>\n");
}

} // namespace

QString write_report(const QString& root, const DiscReport& report, const MenuPictures& pictures,
                     const DiscSize& size, QString& error) {
    QDir folder(QDir(root).filePath(kReportFolder));
    if (!QDir().mkpath(folder.path())) {
        error = QStringLiteral("cannot make the folder %1").arg(folder.path());
        return {};
    }
    QStringList written;
    if (!pictures.section_bar.isNull() &&
        !save_picture(folder, kBarPicture, pictures.section_bar, written, error))
        return {};
    for (std::size_t s = 0; s < pictures.panels.size(); ++s)
        for (std::size_t e = 0; e < pictures.panels[s].size(); ++e)
            if (!save_picture(folder, panel_picture(s, e), pictures.panels[s][e], written, error))
                return {};
    const QString page = folder.filePath(QStringLiteral("index.html"));
    if (!save(page, report_html(root, report, pictures, size).toUtf8(), error))
        return {};
    for (const QString& name : folder.entryList(QDir::Files))
        if (kOwnPicture.match(name).hasMatch() && !written.contains(name))
            folder.remove(name);
    return page;
}

} // namespace kelvox::check
