// kelvox-check [--json] [--report] DIR: loads the disc in DIR as the menu would and lists its catalogue
// and every problem found; with --report it also writes the page DIR/kelvox-report/index.html. Exit
// status 0 when there are no problems, 1 when there are some, 2 on a usage error, a DIR that cannot be
// read or a report that cannot be written.
#include "platform/application.h"
#include "tools/kelvox_check/disc_check.h"
#include "tools/kelvox_check/disc_size.h"
#include "tools/kelvox_check/menu_pictures.h"
#include "tools/kelvox_check/report_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>

namespace {

void write(std::FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

int usage() {
    write(stderr,
          "usage: kelvox-check [--json] [--report] DIR\n"
          "  --json    the catalogue and the problems as one JSON object\n"
          "  --report  also writes DIR/kelvox-report/index.html (into the disc folder, beside its\n"
          "            pictures): the section bar and each entry's panel as the menu draws them, the\n"
          "            problems beside them and the disc's size; make-disc.sh leaves it off the disc\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Ticker lines are measured in the skin's font and the report is drawn by the menu's window, which
    // take a GUI application; the checker never needs a display for them.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    kelvox::Application application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool json = arguments.removeAll(QStringLiteral("--json")) > 0;
    const bool page = arguments.removeAll(QStringLiteral("--report")) > 0;
    if (arguments.size() != 1 || arguments[0].startsWith(QLatin1Char('-')))
        return usage();
    const QFileInfo root(arguments[0]);
    if (!root.isDir() || !root.isReadable() || !QDir(root.absoluteFilePath()).isReadable()) {
        write(stderr,
              QStringLiteral("kelvox-check: %1 is not a readable directory\n").arg(arguments[0]).toUtf8());
        return 2;
    }
    const QString folder = root.absoluteFilePath();
    const kelvox::check::DiscReport report = kelvox::check::check_disc(folder);
    if (json)
        write(stdout, QJsonDocument(kelvox::check::report_json(report)).toJson(QJsonDocument::Indented));
    else
        write(stdout, kelvox::check::report_text(report).toUtf8());
    if (page) {
        QString error;
        const QString written =
            kelvox::check::write_report(folder, report, kelvox::check::draw_menu_pictures(folder),
                                        kelvox::check::disc_size(folder, kelvox::check::linux_bundle_folder(),
                                                                 kelvox::check::windows_bundle_folder()),
                                        error);
        if (written.isEmpty()) {
            write(stderr,
                  QStringLiteral("kelvox-check: the report is not written: %1\n").arg(error).toUtf8());
            return 2;
        }
        // With --json, stdout holds the JSON alone.
        write(json ? stderr : stdout, QStringLiteral("Report: %1\n").arg(written).toUtf8());
    }
    return report.problems.empty() ? 0 : 1;
}
