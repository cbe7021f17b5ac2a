// The disc checker's time against the size of the catalogue: a disc of N entries (each with its own
// directory, info.xml and file) made in a temporary directory and checked as kelvox-check checks it.
// Usage: disc_check [N...] (default 1000 4000 100000). The last line gives the time of the largest N.
#include "tools/kelvox_check/disc_check.h"

#include "tests/support/disc_fixture.h"
#include "tests/support/test_skin.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace kelvox;

constexpr int kSections = 20;

void write_disc(const test::DiscFixture& disc, int entries) {
    test::write_test_skin(disc);
    QByteArray index = "<menu>\r\n";
    QByteArray ticker;
    for (int s = 0; s < kSections; ++s) {
        index += "<nazwa>Dział " + QByteArray::number(s + 1) + "</nazwa>\r\n";
        ticker += "Linia działu " + QByteArray::number(s + 1) + "\r\n";
        for (int e = s; e < entries; e += kSections) {
            const QByteArray dir = "dzial" + QByteArray::number(s) + "\\e" + QByteArray::number(e);
            index += "<nazwa_e>Pozycja " + QByteArray::number(e) + "</nazwa_e><sciezka_exe>" + dir +
                     "\\setup.exe</sciezka_exe><sciezka>" + dir + "</sciezka>\r\n";
            const QString native = QString::fromLatin1(dir).replace(QLatin1Char('\\'), QLatin1Char('/'));
            disc.write(native + QStringLiteral("/info.xml"),
                       "<_nazwa>Pozycja " + QByteArray::number(e) +
                           "</_nazwa><_opis>Program do sprawdzania płyt, wersja próbna</_opis>"
                           "<_wymagania>Windows 95/98, 32 MB RAM</_wymagania><_typ>shareware</_typ>\r\n");
            disc.write(native + QStringLiteral("/setup.exe"), "MZ");
        }
    }
    disc.write(QStringLiteral("menu/index.xml"), index + "</menu>\r\n");
    disc.write(QStringLiteral("menu/reklamy.txt"), ticker);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(std::atoi(argv[i]));
    if (sizes.isEmpty())
        sizes = {1000, 4000, 100000};
    double last_seconds = 0;
    for (const int entries : sizes) {
        test::DiscFixture disc;
        write_disc(disc, entries);
        QElapsedTimer clock;
        clock.start();
        const check::DiscReport report = check::check_disc(disc.root());
        last_seconds = double(clock.nsecsElapsed()) / 1e9;
        std::printf("%6d entries: %.2f s, %zu problem(s)\n", entries, last_seconds, report.problems.size());
    }
    std::printf("check of %d entries: %.2f s\n", sizes.back(), last_seconds);
    return 0;
}
