// kelvox-check [--json] DIR: loads the disc in DIR as the menu would and lists its catalogue and every
// problem found. Exit status 0 when there are none, 1 when there are some, 2 on a usage error or a DIR
// that cannot be read.
#include "tools/kelvox_check/disc_check.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>

#include <cstdio>

namespace {

void write(std::FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

int usage() {
    write(stderr, "usage: kelvox-check [--json] DIR\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Ticker lines are measured in the skin's font, which takes a GUI application; the checker never
    // needs a display for it.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool json = arguments.removeAll(QStringLiteral("--json")) > 0;
    if (arguments.size() != 1 || arguments[0].startsWith(QLatin1Char('-')))
        return usage();
    const QFileInfo root(arguments[0]);
    if (!root.isDir() || !root.isReadable() || !QDir(root.absoluteFilePath()).isReadable()) {
        write(stderr,
              QStringLiteral("kelvox-check: %1 is not a readable directory\n").arg(arguments[0]).toUtf8());
        return 2;
    }
    const kelvox::check::DiscReport report = kelvox::check::check_disc(root.absoluteFilePath());
    if (json)
        write(stdout, QJsonDocument(kelvox::check::report_json(report)).toJson(QJsonDocument::Indented));
    else
        write(stdout, kelvox::check::report_text(report).toUtf8());
    return report.problems.empty() ? 0 : 1;
}
