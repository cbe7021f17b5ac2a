// Times a start as a reader sees it: from the moment the program is started to its first frame, that
// is, the first drawing into a window of its own that the X server reports (through the DAMAGE
// extension, which sees every drawing, a black one too). The menu runs from a copy of the disc with a
// settings file of its own; a bare frameless Qt window is started the same way between its starts, so
// that both see the same machine. Runs its own Xvfb.
//
//   start [--wine] MENU-PROGRAM DISC-DIRECTORY BARE-WINDOW-PROGRAM [STARTS]
//
// With --wine both are Windows programs run through wine in the prefix $WINEPREFIX, whose server the
// benchmark starts (and keeps, warm, for every start) and ends: MENU-PROGRAM is kelvox-menu.exe in its
// bundle, which goes to the disc's kelvox-windows\ folder as on a disc, and the bare window runs from a
// copy of the same bundle, so that both load the same DLLs.
//
// The last line gives the ratio of the medians.
#include "bench/x_session/x_session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using namespace kelvox::bench;
namespace fs = std::filesystem;

// Wine's first start in a fresh prefix writes the registry and the fonts' cache.
constexpr auto first_frame_wait = std::chrono::seconds(60);

struct Program {
    fs::path path;
    fs::path directory;
};

struct Start {
    double seconds;           // from the start to the first drawing into one of its windows
    double processor_seconds; // used by then (and by its end, which is quick)
};

Start time_start(DrawingWatch& watch, const Launcher& launcher, const Program& program) {
    const auto started = Clock::now();
    const pid_t pid = launcher.start(program.path, program.directory);
    const auto drawn = watch.next_drawing(started + first_frame_wait);
    if (!drawn)
        fail("no frame of " + program.path.filename().string() + " within 60 s");
    const double processor = stop(pid);
    watch.forget();
    return {std::chrono::duration<double>(*drawn - started).count(), processor};
}

int run(int argc, char** argv) {
    const bool wine = take_option(argc, argv, "--wine");
    if (argc < 4)
        fail("usage: start [--wine] MENU-PROGRAM DISC-DIRECTORY BARE-WINDOW-PROGRAM [STARTS]");
    const int starts = argc > 4 ? std::max(1, std::atoi(argv[4])) : 7;
    // Before the work directory, which a failure here would leave behind.
    const auto [xvfb, display] = start_x_server();
    const fs::path work = fs::temp_directory_path() / ("kelvox-start-" + std::to_string(getpid()));
    remove_on_failure(work);
    const DiscCopy disc = copy_disc(work, argv[1], argv[2], wine);
    Program bare_program{fs::absolute(argv[3]), work};
    if (wine) {
        bare_program.directory = work / "bare";
        fs::copy(disc.menu.parent_path(), bare_program.directory, fs::copy_options::recursive);
        bare_program.path = bare_program.directory / bare_program.path.filename();
        fs::copy_file(argv[3], bare_program.path);
    }
    setenv("KELVOX_REGISTRY", (work / "registry.reg").c_str(), 1);
    setenv("QT_QPA_PLATFORM", wine ? "windows" : "xcb", 1);
    std::vector<double> menu_times, bare_times, menu_processor, bare_processor;
    {
        const Launcher launcher(wine, display);
        DrawingWatch watch(display);
        const Program menu{disc.menu, disc.root};
        // The first start of all fills the caches for both; under wine each program's first start in
        // the prefix also does work of its own (its DLLs mapped, the fonts found).
        time_start(watch, launcher, bare_program);
        if (wine)
            time_start(watch, launcher, menu);
        for (int i = 0; i < starts; ++i) {
            const auto bare_start = time_start(watch, launcher, bare_program);
            const auto menu_start = time_start(watch, launcher, menu);
            bare_times.push_back(bare_start.seconds);
            menu_times.push_back(menu_start.seconds);
            bare_processor.push_back(bare_start.processor_seconds);
            menu_processor.push_back(menu_start.processor_seconds);
            std::printf("start %d: bare window %.3f s (processor %.3f s), menu %.3f s (processor %.3f s)\n",
                        i + 1, bare_start.seconds, bare_start.processor_seconds, menu_start.seconds,
                        menu_start.processor_seconds);
            std::fflush(stdout);
        }
    }
    stop(xvfb);
    fs::remove_all(work);
    const double menu = median(menu_times);
    const double bare = median(bare_times);
    std::printf(
        "median of %d starts%s: bare window %.3f s, menu %.3f s; processor time %.3f s against %.3f s\n",
        starts, wine ? " under wine" : "", bare, menu, median(menu_processor), median(bare_processor));
    std::printf("start/bare=%.2f\n", menu / bare);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return run_benchmark(run, argc, argv);
}
