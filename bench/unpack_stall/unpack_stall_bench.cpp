// How long the window goes without serving its events while an archive is unpacked, and how long a press
// on the cancel area takes to end the run. A whole window on fakes (offscreen) unpacks through the
// repository's RAR module: a 2 GiB stored entry generated here (its data a hole in a sparse file, so the
// archive costs no disc space), a compressed file of 220 MB generated here that does not compress and
// so fills five volumes of 50 MB (read from the disc in every run, not from the page cache), and the
// compressed fixtures of the shared folder (skipped when absent).
// A timer on the main thread records the longest gap between two of its ticks from the start of the run
// to its end; another thread queues the press once half of the big file has been written, so the press
// waits in the window's queue as a reader's click would. Each case runs three times, as other work on
// the machine (and the disc's write-back) now and then holds up one run: the lines give every run, the
// last line the worst case's median run, for both figures.
#include "tests/support/window_fixture.h"
#include "tools/rar_writer/rar29_literals.h"
#include "tools/rar_writer/rar_blocks.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

using namespace kelvox;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ms_between(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// CRC32 of `size` zero bytes, built from a MiB of them.
std::uint32_t zeros_crc(std::uint64_t size) {
    constexpr std::uint64_t mib = 1 << 20;
    static const std::vector<unsigned char> zeros(mib, 0);
    const uLong one_mib = crc32(0, zeros.data(), mib);
    uLong crc = crc32(0, Z_NULL, 0);
    for (; size >= mib; size -= mib)
        crc = crc32_combine(crc, one_mib, static_cast<z_off_t>(mib));
    return static_cast<std::uint32_t>(crc32(crc, zeros.data(), static_cast<uInt>(size)));
}

// Written out before the run, so that its write-back does not run into the measured run's.
void sync_file(const fs::path& path) {
#ifdef _WIN32
    // Flushing needs a handle that may write.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(file);
        CloseHandle(file);
    }
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

// One stored entry of `size` zero bytes. As a hole in a sparse file the archive costs no disc space, but
// the kernel then fills every page read with zeros in the reading thread, tens of milliseconds at a
// time on a busy machine, which no real disc does; written out (and synced, so that its write-back
// does not run into the measured run's) it is read as a disc's file is once read ahead.
void write_stored_archive(const fs::path& path, const std::string& name, std::uint64_t size, bool sparse) {
    RarBytes head = rar4_start(0);
    append(
        head,
        rar4_header({.name = name, .packed = size, .unpacked = size, .crc = zeros_crc(size), .large = true}));
    const RarBytes end = rar4_block(rar4::type_end, 0x4000, {});
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
    if (sparse) {
        out.seekp(static_cast<std::streamoff>(head.size() + size));
    } else {
        const std::vector<char> zeros(1 << 20, 0);
        for (std::uint64_t done = 0; done < size; done += zeros.size())
            out.write(zeros.data(),
                      static_cast<std::streamsize>(std::min<std::uint64_t>(zeros.size(), size - done)));
    }
    out.write(reinterpret_cast<const char*>(end.data()), static_cast<std::streamsize>(end.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
    sync_file(path);
}

// The volumes are read from the disc in each run, as from a DVD, rather than from the page cache that
// the previous run filled: where the reading happens, and whether the window waits for it, shows.
// Windows has no call that drops one file's cached pages, so there (and under wine) every run after
// the first reads them from the cache; whether it does is said once.
bool drop_cached(const fs::path& path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool dropped = ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
    ::close(fd);
    return dropped;
#endif
}

// One compressed entry (RAR 3.x/4.x) of `size` bytes that do not compress, so that its packed data is as
// large and fills the volumes, as a disc's archive of already compressed game data does; cut into
// volumes of `volume_size`. Returns the volumes' paths, written out and synced.
std::vector<fs::path> write_compressed_volumes(const fs::path& path, const std::string& name,
                                               std::size_t size, std::size_t volume_size) {
    std::vector<unsigned char> data(size);
    std::mt19937_64 random(2026);
    for (std::size_t at = 0; at < size; at += 8) {
        const std::uint64_t word = random();
        std::memcpy(data.data() + at, &word, std::min<std::size_t>(8, size - at));
    }
    write_stored_rar(path.string(), {rar29_literal_entry(name, data)}, volume_size);
    std::vector<fs::path> volumes; // alone in their folder, named alike but for the number
    for (const auto& item : fs::directory_iterator(path.parent_path()))
        volumes.push_back(item.path());
    std::sort(volumes.begin(), volumes.end());
    for (const fs::path& volume : volumes)
        sync_file(volume);
    return volumes;
}

// Bytes in regular files under `root`, the unpacker's temporaries included; files vanishing meanwhile
// are passed over. On Linux the module writes a file without a name until it is whole (O_TMPFILE), so
// the files this process holds open there with no name count too: otherwise a file's data would show
// only once it is finished, and the press would come after it. Not after the run (`written_only`): a
// cancelled file's descriptor may still be closing on the module's own thread, and its data has no name
// and goes with it.
std::uint64_t bytes_under(const fs::path& root, bool written_only = false) {
    std::uint64_t total = 0;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code size_error;
        const auto size = it->is_regular_file(size_error) ? it->file_size(size_error) : 0;
        if (!size_error)
            total += size;
    }
#ifndef _WIN32
    if (written_only)
        return total;
    const std::string inside = root.string() + "/";
    const std::string unnamed = " (deleted)";
    for (auto it = fs::directory_iterator("/proc/self/fd", error); !error && it != fs::directory_iterator();
         it.increment(error)) {
        std::error_code link_error;
        const std::string target = fs::read_symlink(it->path(), link_error).string();
        if (link_error || target.rfind(inside, 0) != 0 || target.size() < unnamed.size() ||
            target.compare(target.size() - unnamed.size(), unnamed.size(), unnamed) != 0)
            continue;
        std::error_code size_error;
        const auto size = fs::file_size(it->path(), size_error);
        if (!size_error)
            total += size;
    }
#endif
    return total;
}

struct Case {
    std::string label;
    std::string archive; // the first file of the archive, which the entry names
    // Puts the archive (or volume set) into `folder`.
    std::function<void(const fs::path& folder)> make;
    std::string big_file;          // the entry inside which the press comes
    std::uint64_t press_after = 0; // bytes written before the press is queued
};

struct Measured {
    double stall_ms = 0;
    double cancel_ms = 0;
    bool stopped_inside = false; // the big file was neither finished nor left behind
};

Measured measure(const Case& test) {
    test::TestSkinOptions skin;
    skin.index_xml = QByteArray("<nazwa>Gry</nazwa><nazwa_e>Paczka</nazwa_e><sciezka_exe>arch\\") +
                     test.archive.c_str() + "</sciezka_exe><sciezka>arch</sciezka>";
    test::WindowFixture fixture(skin);
    fixture.disc.write(QStringLiteral("arch/info.xml"), "<_nazwa>Paczka</_nazwa>");
    test.make(fixture.disc.absolute(QStringLiteral("arch")).toStdString());

    TForm1& window = fixture.open();
    test::run_timer1_steps(window);
    window.screen.section_bar.select_section(0);
    test::run_timer1_steps(window);
    QTemporaryDir destination;
    const fs::path out = destination.path().toStdString();
    window.actions.unpack_run.bind_dialog([&](bool& confirmed, QString& directory) {
        confirmed = true;
        directory = destination.path();
    });

    Measured result;
    std::atomic<bool> run_over{false};
    std::atomic<Clock::rep> pressed_at{0};
    std::optional<Clock::time_point> last_tick;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        if (last_tick)
            result.stall_ms = std::max(result.stall_ms, ms_between(*last_tick, now));
        last_tick = now;
    });

    QObject context;
    std::thread presser([&] {
        while (!run_over && bytes_under(out) < test.press_after)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (run_over)
            return;
        pressed_at = Clock::now().time_since_epoch().count();
        QMetaObject::invokeMethod(
            &context,
            [&] {
                const int y = window.controls.rar_cancel.Top() + 5;
                window.DispatchMouseDown(5, y);
                window.DispatchMouseUp(5, y);
            },
            Qt::QueuedConnection);
    });

    ticks.start(1);
    window.actions.entry_activation.activate_entry(0);
    const auto ended = Clock::now();
    ticks.stop();
    run_over = true;
    presser.join();
    if (pressed_at != 0)
        result.cancel_ms = ms_between(Clock::time_point(Clock::duration(pressed_at.load())), ended);
    result.stopped_inside =
        pressed_at != 0 && !fs::exists(out / test.big_file) && bytes_under(out, true) == 0;
    return result;
}

fs::path shared_fixtures() {
    const QByteArray shared = qgetenv("KELVOX_SHARED_DIR");
    return fs::path(shared.isEmpty() ? KELVOX_DEFAULT_SHARED_DIR : shared.constData()) / "fixtures" / "rar";
}

std::function<void(const fs::path&)> fixture_copy(const fs::path& from) {
    return [from](const fs::path& folder) {
        for (const auto& item : fs::directory_iterator(from))
            fs::copy_file(item.path(), folder / item.path().filename());
    };
}

} // namespace

int main() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    test::test_application();

    constexpr std::uint64_t gib = std::uint64_t{1} << 30;
    // Each archive is made once and linked into every run's disc.
    QTemporaryDir made;
    std::vector<Case> cases;
    for (const bool sparse : {false, true}) {
        const fs::path archive =
            fs::path(made.path().toStdString()) / (sparse ? "sparse.rar" : "written.rar");
        write_stored_archive(archive, "big.bin", 2 * gib, sparse);
        cases.push_back(
            {sparse ? "stored, 2 GiB entry, sparse archive" : "stored, 2 GiB entry", "big.rar",
             [archive](const fs::path& folder) { fs::create_hard_link(archive, folder / "big.rar"); },
             "big.bin", gib});
    }
    const fs::path split = fs::path(made.path().toStdString()) / "split";
    fs::create_directories(split);
    const std::vector<fs::path> volumes =
        write_compressed_volumes(split / "split.rar", "big.bin", 220'000'000, 50'000'000);
    cases.push_back({"RAR 4 compressed over " + std::to_string(volumes.size()) + " volumes, 220 MB packed",
                     volumes.front().filename().string(),
                     [volumes](const fs::path& folder) {
                         static bool told = false;
                         for (const fs::path& volume : volumes) {
                             fs::create_hard_link(volume, folder / volume.filename());
                             if (!drop_cached(volume) && !told) {
                                 std::printf("(the volumes stay in the system's cache between runs) ");
                                 told = true;
                             }
                         }
                     },
                     "big.bin", 110'000'000});
    const fs::path fixtures = shared_fixtures();
    if (fs::is_directory(fixtures / "libarchive")) {
        cases.push_back(
            {"RAR 4 compressed, 20 MB entry from 19 KB", "test_read_format_rar_multi_lzss_blocks.rar",
             fixture_copy(fixtures / "libarchive/rar4-bigwindow"), "multi_lzss_blocks_test.txt", 10'000'000});
        cases.push_back({"RAR 4 compressed over 4 volumes, 242 MB entry",
                         "test_read_format_rar_multivolume.part0001.rar",
                         fixture_copy(fixtures / "libarchive/rar4-vol-compressed"),
                         "ppmd_lzss_conversion_test.txt", 120'000'000});
    } else {
        std::printf("compressed cases skipped: no fixtures at %s\n", fixtures.string().c_str());
    }

    constexpr int runs = 3;
    Measured worst;
    bool all_inside = true;
    for (const Case& test : cases) {
        std::vector<double> stalls;
        std::vector<double> cancels;
        std::printf("%-48s", test.label.c_str());
        for (int run = 0; run < runs; ++run) {
            const Measured measured = measure(test);
            stalls.push_back(measured.stall_ms);
            cancels.push_back(measured.cancel_ms);
            all_inside = all_inside && measured.stopped_inside;
            std::printf(" | stall %5.1f ms, cancel %5.1f ms%s", measured.stall_ms, measured.cancel_ms,
                        measured.stopped_inside ? "" : " (NOT stopped inside the file)");
            std::fflush(stdout);
        }
        std::printf("\n");
        worst.stall_ms = std::max(worst.stall_ms, median(stalls));
        worst.cancel_ms = std::max(worst.cancel_ms, median(cancels));
    }
    if (!all_inside)
        std::printf("a press did not stop its run inside the big file: the cancel figure does not count\n");
    std::printf("stall_ms=%.1f cancel_ms=%.1f\n", worst.stall_ms, worst.cancel_ms);
    return all_inside ? 0 : 1;
}
