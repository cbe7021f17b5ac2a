// kelvox-check --report on the disc an author starts from, one entry's first picture gone, opened by a
// headless browser: the page shows the section bar and every entry's panel exactly as the menu's window
// draws them, and the broken entry's problem beside its own panel.
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstring>

namespace kelvox::test {
namespace {

// Where the piece stands in the picture, pixel for pixel; (-1, -1) when nowhere.
QPoint find_piece(const QImage& picture, const QImage& piece) {
    const QImage whole = picture.convertToFormat(QImage::Format_RGB32);
    const QImage part = piece.convertToFormat(QImage::Format_RGB32);
    const auto row = [](const QImage& image, int x, int y) {
        return reinterpret_cast<const QRgb*>(image.constScanLine(y)) + x;
    };
    const std::size_t row_bytes = std::size_t(part.width()) * sizeof(QRgb);
    for (int y = 0; y + part.height() <= whole.height(); ++y)
        for (int x = 0; x + part.width() <= whole.width(); ++x) {
            if (*row(whole, x, y) != *row(part, 0, 0))
                continue;
            int r = 0;
            while (r < part.height() && std::memcmp(row(whole, x, y + r), row(part, 0, r), row_bytes) == 0)
                ++r;
            if (r == part.height())
                return {x, y};
        }
    return {-1, -1};
}

QString run(const QString& program, const QStringList& arguments, int& status,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(120000);
    status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

TEST(CheckerReport, ThePageShowsTheMenusOwnBarAndPanelsWithEachEntrysProblemsBesideIt) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed (scripts/debian-packages.txt)";
    QTemporaryDir work;
    const QString disc = work.filePath(QStringLiteral("disc"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KELVOX_DEMO_DISC"), QStringLiteral(DEMO_DISC));
    int status = 0;
    QString output = run(qEnvironmentVariable("KELVOX_SOURCE_DIR") + QStringLiteral("/scripts/new-disc.sh"),
                         {disc}, status, environment);
    ASSERT_EQ(status, 0) << output.toStdString();
    ASSERT_TRUE(QFile::remove(disc + QStringLiteral("/gry/twierdza_mroku/ekran1.jpg")));

    // No Windows menu built: the page must say so rather than give a size without it.
    environment.insert(QStringLiteral("KELVOX_WINDOWS_BUILD"), work.filePath(QStringLiteral("no-build")));
    output =
        run(QStringLiteral(KELVOX_CHECK_PROGRAM), {QStringLiteral("--report"), disc}, status, environment);
    ASSERT_EQ(status, 1) << output.toStdString();
    const QString page = disc + QStringLiteral("/kelvox-report/index.html");
    ASSERT_TRUE(output.contains(QStringLiteral("Report: ") + page)) << output.toStdString();

    // Each entry's own panel and findings stand in one block, in catalogue order.
    QFile html(page);
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QStringList blocks =
        QString::fromUtf8(html.readAll()).split(QStringLiteral("<div class=\"entry\">"));
    ASSERT_EQ(blocks.size(), 4);
    for (int e = 1; e <= 3; ++e) {
        EXPECT_TRUE(blocks[e].contains(QStringLiteral("src=\"panel-1-%1.png\"").arg(e))) << e;
        EXPECT_EQ(
            blocks[e].contains(QStringLiteral("gry\\twierdza_mroku\\ekran1.jpg</code>: the first picture "
                                              "does not load")),
            e == 3)
            << blocks[e].toStdString();
    }
    EXPECT_TRUE(blocks[0].contains(QStringLiteral("menus, which are not all built yet")))
        << blocks[0].toStdString();

    QTemporaryDir browser_home;
    QProcessEnvironment browser = QProcessEnvironment::systemEnvironment();
    browser.insert(QStringLiteral("HOME"), browser_home.path());
    const QString shot = work.filePath(QStringLiteral("report.png"));
    output = run(chromium,
                 {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync",
                  "--hide-scrollbars", "--force-device-scale-factor=1",
                  "--user-data-dir=" + browser_home.filePath(QStringLiteral("profile")),
                  "--screenshot=" + shot, "--window-size=1280,2000", "file://" + page},
                 status, browser);
    const QImage screenshot(shot);
    ASSERT_FALSE(screenshot.isNull()) << output.toStdString();
    if (!qEnvironmentVariableIsEmpty("KELVOX_REPORT_SHOT"))
        screenshot.save(qEnvironmentVariable("KELVOX_REPORT_SHOT"));

    // The same disc in the menu's window, chosen entry after entry by hand.
    WindowFixture fixture;
    fixture.store_settings(false, false, true, QStringLiteral("tapeta.bmp"), false);
    QDir::setCurrent(disc);
    TForm1& window = fixture.open();
    run_timer1_steps(window);
    const auto drawn = [&window](const Control& control) {
        return window.ComposeFrame().copy(control.Left(), control.Top(), control.Width(), control.Height());
    };
    const QPoint bar = find_piece(screenshot, drawn(window.controls.menu));
    EXPECT_NE(bar, QPoint(-1, -1)) << "the section bar is not on the page";
    window.screen.section_bar.select_section(0);
    run_timer1_steps(window);
    int last_top = bar.y();
    for (int e = 0; e < 3; ++e) {
        window.actions.entry_activation.select_entry(e);
        run_timer1_steps(window);
        const QPoint panel = find_piece(screenshot, drawn(window.controls.panelek));
        EXPECT_GT(panel.y(), last_top)
            << "the panel of entry " << e + 1 << " is not on the page below the last";
        last_top = panel.y();
    }
}

} // namespace
} // namespace kelvox::test
