#include "actions/volume_set.h"
#include "tools/rar_writer/stored_rar_writer.h"

#include "tests/support/window_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

namespace kelvox::test {
namespace {

std::vector<unsigned char> bytes_of(int size, int seed) {
    std::vector<unsigned char> data(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i)
        data[static_cast<size_t>(i)] = static_cast<unsigned char>((i * (2 * seed + 1) + 31 * seed) & 0xFF);
    return data;
}

// A window whose one entry is a stored archive of three files, unpacked through the repository's RAR
// module (found on the library path the test sets).
class UnpackWindow {
public:
    // With a volume size, the archive is a set of volumes paczka.part1.rar, paczka.part2.rar, …
    explicit UnpackWindow(std::size_t volume_size = 0) : fixture(skin(volume_size)) {
        fixture.disc.write(QStringLiteral("arch/info.xml"), "<_nazwa>Paczka</_nazwa>");
        archive = fixture.disc.absolute(QStringLiteral("arch/paczka.rar"));
        write_stored_rar(archive.toStdString(),
                         {{"a.txt", bytes_of(1000, 1)},
                          {"katalog\\b.txt", bytes_of(2000, 2)},
                          {"c.txt", bytes_of(3000, 3)}},
                         volume_size);
        window = &fixture.open();
        run_timer1_steps(*window);
        window->screen.section_bar.select_section(0);
        run_timer1_steps(*window);
        window->actions.unpack_run.bind_dialog([this](bool& confirmed, QString& directory) {
            ++dialogs;
            confirmed = confirm;
            directory = destination.path();
            if (while_in_dialog)
                while_in_dialog();
        });
    }
    static TestSkinOptions skin(std::size_t volume_size) {
        TestSkinOptions options;
        options.index_xml = QByteArray("<nazwa>Gry</nazwa><nazwa_e>Paczka</nazwa_e><sciezka_exe>arch\\") +
                            (volume_size > 0 ? "paczka.part1.rar" : "paczka.rar") +
                            "</sciezka_exe><sciezka>arch</sciezka>";
        return options;
    }
    bool extracted(const char* name) const {
        return QFile::exists(destination.path() + QLatin1Char('/') + name);
    }
    uint32_t strip_pixel(int x, int y) const { return fixture.pixel(x, window->controls.scroll.Top() + y); }
    std::vector<QRgb> strip_row() const {
        const QImage frame = window->ComposeFrame();
        std::vector<QRgb> row;
        for (int x = 0; x < window->controls.scroll.Width(); ++x)
            row.push_back(frame.pixel(x, window->controls.scroll.Top() + 10));
        return row;
    }
    // Damages a byte of the second file's data: its CRC no longer matches.
    void damage_second_file() const {
        QFile file(archive);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        const qsizetype at =
            bytes.indexOf(QByteArray(reinterpret_cast<const char*>(bytes_of(2000, 2).data()), 64));
        ASSERT_GT(at, 0);
        bytes[at + 10] = static_cast<char>(bytes[at + 10] ^ 0x55);
        file.seek(0);
        file.write(bytes);
    }
    void press_cancel_area() {
        const int y = window->controls.rar_cancel.Top() + 5;
        window->DispatchMouseDown(5, y);
        window->DispatchMouseUp(5, y);
    }

    WindowFixture fixture;
    QTemporaryDir destination;
    QString archive;
    TForm1* window;
    bool confirm = true;
    int dialogs = 0;
    std::function<void()> while_in_dialog;
};

TEST(UnpackRun, ExtractsEveryFileShowsTheProgressAndStartsTheWipe) {
    UnpackWindow run;
    run.window->actions.entry_activation.activate_entry(0);
    EXPECT_EQ(run.dialogs, 1);
    EXPECT_TRUE(run.extracted("a.txt"));
    EXPECT_TRUE(run.extracted("katalog/b.txt"));
    EXPECT_TRUE(run.extracted("c.txt"));
    QFile c(run.destination.path() + QStringLiteral("/c.txt"));
    ASSERT_TRUE(c.open(QIODevice::ReadOnly));
    const QByteArray content = c.readAll();
    EXPECT_EQ(content, QByteArray(reinterpret_cast<const char*>(bytes_of(3000, 3).data()), 3000));

    // 42 blocks stand for the whole archive file; the packed sizes add up to a little less.
    const qint64 size = QFile(run.archive).size();
    const int blocks = static_cast<int>(42 * 6000 / size);
    EXPECT_EQ(run.strip_pixel(100 + 5 * (blocks - 1) + 1, 10), 0x00D600u);
    EXPECT_NE(run.strip_pixel(100 + 5 * blocks + 1, 10), 0x00D600u);
    EXPECT_EQ(run.strip_pixel(100, 1), 0x00B600u); // the scale's rule and first tick
    EXPECT_FALSE(run.window->controls.rar_cancel.Visible());
    EXPECT_FALSE(run.window->actions.unpack_run.archive_open());
    EXPECT_TRUE(static_cast<bool>(run.window->scrolltimer.OnTimer()));
}

// The scale stands for the whole set, not its first volume alone: it fills once and stops at its end.
TEST(UnpackRun, TheScaleOfAVolumeSetStandsForEveryVolume) {
    UnpackWindow run(2500);
    const QStringList volumes = QDir(QFileInfo(run.archive).path()).entryList({QStringLiteral("*.rar")});
    ASSERT_GE(volumes.size(), 3);
    qint64 size = 0;
    for (const QString& volume : volumes)
        size += QFileInfo(QFileInfo(run.archive).path() + QLatin1Char('/') + volume).size();
    run.window->actions.entry_activation.activate_entry(0);
    ASSERT_TRUE(run.extracted("c.txt"));
    const int blocks = static_cast<int>(42 * 6000 / size);
    EXPECT_EQ(run.strip_pixel(100 + 5 * (blocks - 1) + 1, 10), 0x00D600u);
    EXPECT_NE(run.strip_pixel(100 + 5 * blocks + 1, 10), 0x00D600u);
}

// Both ways of naming volumes; the set ends at the first volume missing.
TEST(UnpackRun, AVolumeSetIsMeasuredByTheVolumesPresent) {
    QTemporaryDir dir;
    const auto write = [&](const char* name, int size) {
        QFile file(dir.path() + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'r'));
    };
    for (const auto& [name, size] : {std::pair{"stara.rar", 10},
                                     {"STARA.R00", 20},
                                     {"stara.r01", 30},
                                     {"stara.r03", 70},
                                     {"nowa.part01.rar", 1},
                                     {"nowa.part02.rar", 2},
                                     {"nowa.part10.rar", 9}})
        write(name, size);
    const QString at = dir.path() + QLatin1Char('/');
    EXPECT_EQ(volume_set_size(at + QStringLiteral("stara.rar")), 60);
    EXPECT_EQ(volume_set_size(at + QStringLiteral("nowa.part01.rar")), 3);
    EXPECT_EQ(volume_set_size(at + QStringLiteral("brak.rar")), -1);
}

TEST(UnpackRun, LeavingTheDialogWithAbortChangesNothing) {
    UnpackWindow run;
    run.confirm = false;
    run.window->screen.ticker.restart_ticker(QStringLiteral("biegnie"));
    run.window->actions.entry_activation.activate_entry(0);
    EXPECT_FALSE(run.extracted("a.txt"));
    EXPECT_EQ(run.window->screen.ticker.line(), QStringLiteral("biegnie"));
    EXPECT_TRUE(static_cast<bool>(run.window->scrolltimer.OnTimer()));
}

TEST(UnpackRun, ADialogClosedWithoutAnAnswerDoesNotReuseThePreviousOne) {
    UnpackWindow run;
    run.window->actions.entry_activation.activate_entry(0);
    ASSERT_TRUE(run.extracted("a.txt"));
    ASSERT_TRUE(QFile::remove(run.destination.path() + QStringLiteral("/a.txt")));
    // The next dialog goes away without either label (the desktop closed it).
    run.window->actions.unpack_run.bind_dialog([&](bool&, QString&) { ++run.dialogs; });
    run.window->actions.entry_activation.activate_entry(0);
    EXPECT_EQ(run.dialogs, 2);
    EXPECT_FALSE(run.extracted("a.txt"));
}

TEST(UnpackRun, TheWindowClosedByTheDesktopDuringARunEndsIt) {
    UnpackWindow run;
    // The close arrives among the messages the run serves between files.
    QTimer::singleShot(0, [&] { run.window->FormClose(); });
    run.window->actions.entry_activation.activate_entry(0);
    EXPECT_FALSE(run.extracted("a.txt"));
    EXPECT_FALSE(run.window->actions.unpack_run.archive_open());
}

TEST(UnpackRun, ACancelOnTheFirstPassExtractsNothing) {
    UnpackWindow run;
    run.while_in_dialog = [&] { run.window->actions.unpack_run.rar_cancelClick(); };
    run.window->actions.entry_activation.activate_entry(0);
    EXPECT_FALSE(run.extracted("a.txt"));
    EXPECT_FALSE(run.window->actions.unpack_run.cancel_requested());
    EXPECT_FALSE(run.window->actions.unpack_run.archive_open());
}

// How many progress blocks the strip shows (they are 5 pixels apart from x 100, at y 7 to 14).
int blocks_on(Bitmap& strip) {
    int blocks = 0;
    while (strip.Canvas().PixelAt(100 + 5 * blocks + 1, 10) == 0x00D600)
        ++blocks;
    return blocks;
}

// Whether the strip already shows `line` at (320, 0): writing it once more changes nothing.
bool shows_line(Bitmap& strip, const QString& line) {
    Bitmap copy;
    copy.Assign(strip);
    copy.Canvas().font = strip.Canvas().font;
    copy.Canvas().brush = {kBlack, BrushStyle::Solid};
    copy.Canvas().TextOut(320, 0, line);
    return copy.QtImage() == strip.QtImage();
}

TEST(UnpackRun, TheScaleMovesInsideABigFileAndACancelThereStopsItLeavingNothing) {
    struct Case {
        const char* label;
        bool cancel;
    } cases[] = {{"run to the end", false}, {"cancel inside the file", true}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.label);
        UnpackWindow run;
        constexpr int kBig = 6 << 20;
        write_stored_rar(run.archive.toStdString(), {{"big.bin", bytes_of(kBig, 4)}});
        TForm1& window = *run.window;
        Bitmap& strip = window.screen.ticker.strip();
        std::vector<int> blocks_inside; // seen while big.bin was being unpacked
        int blocks_at_press = -1;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!window.controls.rar_cancel.Visible() || run.extracted("big.bin"))
                return;
            blocks_inside.push_back(blocks_on(strip));
            if (test.cancel && blocks_at_press < 0 && blocks_inside.back() > 0) {
                blocks_at_press = blocks_inside.back();
                const int y = window.controls.rar_cancel.Top() + 5;
                window.DispatchMouseDown(5, y);
                window.DispatchMouseUp(5, y);
            }
        });
        watch.start(0);
        window.actions.entry_activation.activate_entry(0);
        watch.stop();

        const auto moved_inside = std::find_if(blocks_inside.begin(), blocks_inside.end(),
                                               [](int blocks) { return blocks > 0 && blocks < 42; });
        EXPECT_NE(moved_inside, blocks_inside.end()) << "the scale stood still inside the file";
        EXPECT_TRUE(std::is_sorted(blocks_inside.begin(), blocks_inside.end()));
        EXPECT_FALSE(window.actions.unpack_run.archive_open());
        EXPECT_FALSE(window.actions.unpack_run.cancel_requested());
        if (test.cancel) {
            // Stopped within the piece during which the press came: the scale did not move on.
            EXPECT_EQ(blocks_on(strip), blocks_at_press);
            EXPECT_TRUE(
                QDir(run.destination.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
                << "a partial or temporary file was left";
            EXPECT_TRUE(shows_line(strip, QStringLiteral("Podczas wypakowywania plików wystąpiły błedy")));
        } else {
            EXPECT_EQ(QFileInfo(run.destination.path() + QStringLiteral("/big.bin")).size(), kBig);
            EXPECT_EQ(blocks_on(strip), 41); // the archive file is a little longer than its one file
            EXPECT_TRUE(shows_line(strip, QStringLiteral("Wszystkie pliki wypakowane bezbłędnie")));
        }
    }
}

// Processor time of the calling thread, in seconds: the run's own, apart from the timers' threads.
double thread_cpu_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

TEST(UnpackRun, AFailedFilesLineStaysUntilTheCancelAreaIsPressedWithoutBusyWaiting) {
    UnpackWindow run;
    run.damage_second_file();
    TForm1& window = *run.window;
    const auto strip_row = [&] { return run.strip_row(); };
    std::vector<QRgb> line_at_start;
    std::vector<QRgb> line_after_a_second;
    double cpu_at_start = 0;
    double cpu_over_the_second = -1;
    bool wipe_during_wait = true;
    bool cancel_shown = false;
    QElapsedTimer waited;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!window.actions.unpack_run.awaiting_cancel())
            return;
        if (line_at_start.empty()) {
            line_at_start = strip_row();
            cpu_at_start = thread_cpu_seconds();
            waited.start();
        } else if (waited.elapsed() >= 1000) {
            cpu_over_the_second = thread_cpu_seconds() - cpu_at_start;
            line_after_a_second = strip_row();
            wipe_during_wait = static_cast<bool>(window.scrolltimer.OnTimer());
            cancel_shown = window.controls.rar_cancel.Visible();
            // The reader presses the cancel picture at the strip's left end.
            run.press_cancel_area();
            watch.stop();
        }
    });
    watch.start(100);
    run.window->actions.entry_activation.activate_entry(0);

    EXPECT_TRUE(run.extracted("a.txt"));
    EXPECT_FALSE(run.extracted("katalog/b.txt"));
    EXPECT_FALSE(run.extracted("c.txt"));
    ASSERT_FALSE(line_after_a_second.empty()) << "the run did not wait for the cancel area";
    EXPECT_NE(line_at_start[101], qRgb(0, 0xD6, 0)) << "the failure line covers the first progress block";
    EXPECT_EQ(line_after_a_second, line_at_start) << "the line stays as it was while the run waits";
    EXPECT_FALSE(wipe_during_wait);
    EXPECT_TRUE(cancel_shown);
    EXPECT_LT(cpu_over_the_second, 0.2) << "the wait keeps the processor busy";
    EXPECT_NE(strip_row(), line_at_start) << "the closing line comes after the press";
    EXPECT_FALSE(run.window->actions.unpack_run.archive_open());
    EXPECT_FALSE(run.window->actions.unpack_run.cancel_requested());
    EXPECT_TRUE(static_cast<bool>(run.window->scrolltimer.OnTimer()));
}

// A section chosen meanwhile does not run its ticker line over the failed file's line: the line and the
// cancel picture stay until the press, the section's line runs after the wipe, and the next archive
// opens its dialog.
TEST(UnpackRun, ASectionChosenWhileAFailedFilesLineWaitsLeavesTheLineUntilThePress) {
    UnpackWindow run;
    run.damage_second_file();
    TForm1& window = *run.window;
    window.screen.ticker.restart_ticker(QStringLiteral("biegnie"));
    std::vector<QRgb> line_before;
    std::vector<QRgb> line_after;
    bool cancel_shown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!window.actions.unpack_run.awaiting_cancel())
            return;
        watch.stop();
        line_before = run.strip_row();
        // The list slides out and in again; its end would start the section's line on the strip.
        window.screen.section_bar.select_section(0);
        run_timer1_steps(window);
        for (int tick = 0; tick < 100; ++tick)
            window.scrolltimer.Timer();
        line_after = run.strip_row();
        cancel_shown = window.controls.rar_cancel.Visible();
        run.press_cancel_area();
    });
    watch.start(50);
    window.actions.entry_activation.activate_entry(0);
    ASSERT_FALSE(line_after.empty()) << "the run did not wait for the cancel area";
    EXPECT_EQ(line_after, line_before);
    EXPECT_TRUE(cancel_shown);
    for (int tick = 0; tick < 1000 && window.screen.ticker.line() != QStringLiteral("Linia gier"); ++tick)
        window.scrolltimer.Timer();
    EXPECT_EQ(window.screen.ticker.line(), QStringLiteral("Linia gier"));
    run.confirm = false; // the dialog is all this needs to see
    window.actions.entry_activation.activate_entry(0);
    EXPECT_EQ(run.dialogs, 2);
}

TEST(UnpackRun, TheWindowClosedWhileAFailedFilesLineWaitsEndsTheRun) {
    UnpackWindow run;
    QFile file(run.archive);
    ASSERT_TRUE(file.resize(file.size() - 2500)); // the last file's data is cut short
    bool closed_while_waiting = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (run.window->actions.unpack_run.awaiting_cancel() && !closed_while_waiting) {
            closed_while_waiting = true;
            run.window->FormClose();
        }
    });
    watch.start(50);
    run.window->actions.entry_activation.activate_entry(0);
    EXPECT_TRUE(closed_while_waiting);
    EXPECT_TRUE(run.extracted("a.txt"));
    EXPECT_FALSE(run.window->actions.unpack_run.awaiting_cancel());
    EXPECT_FALSE(run.window->actions.unpack_run.archive_open());
}

TEST(UnpackRun, AMissingArchiveShowsTheFailureAndASecondRunMeanwhileIsIgnored) {
    UnpackWindow run;
    QFile::remove(run.archive);
    run.while_in_dialog = [&] {
        if (run.dialogs == 1)
            run.window->actions.entry_activation.activate_entry(0);
    };
    run.window->actions.entry_activation.activate_entry(0);
    EXPECT_EQ(run.dialogs, 1);
    EXPECT_FALSE(run.window->actions.unpack_run.archive_open());
    EXPECT_TRUE(static_cast<bool>(run.window->scrolltimer.OnTimer()));
}

} // namespace
} // namespace kelvox::test
