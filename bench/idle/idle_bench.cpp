// The processor time the menu uses while nothing on its screen moves: the menu is started from a copy
// of the disc on an Xvfb of its own, its intro (the bar's slide and the welcome line on the ticker)
// runs out, and once no drawing has reached its windows for a few seconds its processor time is taken
// over the measured span, as a share of one core. The music plays meanwhile: the benchmark's home
// holds an ALSA configuration whose default device is the null one, which Qt's player and wine's
// media device both play into.
//
//   idle [--wine] [--sound-off] MENU-PROGRAM DISC-DIRECTORY [SECONDS]
//
// With --sound-off the settings have the music switched off (DZWIEK 0), so that the figure is the
// window's own and not the decoding and mixing of the music.
//
// With --wine the Windows menu (kelvox-menu.exe in its bundle, which goes to the disc's
// kelvox-windows\ folder) runs through wine in the prefix $WINEPREFIX, which the benchmark starts and
// ends. The server works for every process of the prefix, and its own processes (the desktop, the
// services) keep it busy without the menu too: so its time is taken over the measured span and again
// over a span of the same length once the menu has ended, and what it used beyond the second span is
// counted as the menu's. Both spans and the prefix's other processes are
// shown; so is the X server's time, which is not counted.
//
// The last line gives the share, in percent of one core: the menu's process, and under wine what the
// wineserver spent beyond the prefix's own.
#include "bench/x_session/x_session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <numeric>
#include <thread>

#include <unistd.h>

namespace {

using namespace kelvox::bench;
namespace fs = std::filesystem;

constexpr auto first_frame_wait = std::chrono::seconds(60);
// The intro's longest part, the welcome line crossing the strip pixel by pixel, takes about 20 s.
constexpr auto intro_wait = std::chrono::seconds(120);
constexpr auto quiet_before = std::chrono::seconds(3);

// Processor time of each group over `span`, and the drawings seen meanwhile. A process that ends
// during the span is left out: its time at the end is gone with it.
struct Span {
    std::vector<double> seconds;
    int drawings = 0;
};

Span measure(DrawingWatch* watch, const std::vector<std::vector<pid_t>>& groups, Clock::duration span) {
    Span result;
    std::vector<std::vector<std::optional<double>>> before;
    for (const auto& group : groups) {
        before.emplace_back();
        for (const pid_t pid : group)
            before.back().push_back(process_seconds(pid));
    }
    const auto end = Clock::now() + span;
    if (watch == nullptr)
        std::this_thread::sleep_until(end);
    else
        while (watch->next_drawing(end))
            ++result.drawings;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        double used = 0;
        for (std::size_t j = 0; j < groups[i].size(); ++j) {
            const auto after = process_seconds(groups[i][j]);
            if (before[i][j] && after)
                used += *after - *before[i][j];
        }
        result.seconds.push_back(used);
    }
    return result;
}

// The settings of a first start with the music switched off, where the menu reads them: the registry
// file on Linux, wine's registry (of the prefix whose server the launcher has started) under wine. All
// five are written: a key that lacks one is a registry the menu reports it cannot read.
void switch_sound_off(bool wine, const fs::path& work) {
    const char* values[][3] = {{"PELNY_EKRAN", "REG_DWORD", "1"},
                               {"ANIMACJE", "REG_DWORD", "1"},
                               {"PASEK_ZADAN", "REG_DWORD", "0"},
                               {"TAPETA", "REG_SZ", "tapeta.bmp"},
                               {"DZWIEK", "REG_DWORD", "0"}};
    if (!wine) {
        std::ofstream file(work / "registry.reg");
        file << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kelvox cover menu]\n";
        for (const auto& [name, type, value] : values)
            file << '"' << name << "\"=" << (std::strcmp(type, "REG_SZ") == 0 ? "\"" : "dword:0000000")
                 << value << (std::strcmp(type, "REG_SZ") == 0 ? "\"" : "") << "\n";
        return;
    }
    for (const auto& [name, type, value] : values) {
        const std::string command = std::string("wine reg add 'HKLM\\SOFTWARE\\Kelvox cover menu' /v ") +
                                    name + " /t " + type + " /d " + value + " /f >/dev/null 2>&1 </dev/null";
        if (std::system(command.c_str()) != 0)
            fail(std::string("the setting ") + name + " could not be written to wine's registry");
    }
}

double percent(double seconds, Clock::duration span) {
    return 100 * seconds / std::chrono::duration<double>(span).count();
}

int run(int argc, char** argv) {
    const bool wine = take_option(argc, argv, "--wine");
    const bool sound_off = take_option(argc, argv, "--sound-off");
    if (argc < 3)
        fail("usage: idle [--wine] [--sound-off] MENU-PROGRAM DISC-DIRECTORY [SECONDS]");
    const auto span = std::chrono::seconds(argc > 3 ? std::max(5, std::atoi(argv[3])) : 30);
    const auto [xvfb, display] = start_x_server();
    const fs::path work = fs::temp_directory_path() / ("kelvox-idle-" + std::to_string(getpid()));
    remove_on_failure(work);
    const DiscCopy disc = copy_disc(work, argv[1], argv[2], wine);
    fs::create_directories(work / "home");
    std::ofstream(work / "home" / ".asoundrc") << "pcm.!default { type null }\n";
    setenv("HOME", (work / "home").c_str(), 1);
    fs::permissions(work / "home", fs::perms::owner_all, fs::perm_options::replace);
    setenv("XDG_RUNTIME_DIR", (work / "home").c_str(), 1);
    setenv("KELVOX_REGISTRY", (work / "registry.reg").c_str(), 1);
    setenv("QT_QPA_PLATFORM", wine ? "windows" : "xcb", 1);
    if (std::getenv("QT_MEDIA_BACKEND") == nullptr)
        setenv("QT_MEDIA_BACKEND", "gstreamer", 1);
    {
        const Launcher launcher(wine, display);
        const std::string prefix = wine ? std::getenv("WINEPREFIX") : "";
        if (sound_off)
            switch_sound_off(wine, work);
        DrawingWatch watch(display);
        const auto started = Clock::now();
        const pid_t menu = launcher.start(disc.menu, disc.root);
        if (!watch.next_drawing(started + first_frame_wait))
            fail("no frame of the menu within 60 s");
        // The intro has ended once the windows have gone without a drawing for a while.
        const auto give_up = Clock::now() + intro_wait;
        while (watch.next_drawing(Clock::now() + quiet_before))
            if (Clock::now() > give_up)
                fail("the menu still draws after 120 s");
        const double quiet_after = std::chrono::duration<double>(Clock::now() - started).count();
        const WineProcesses during = wine ? wine_processes(prefix, menu) : WineProcesses{};
        const auto threads_before = thread_seconds(menu);
        const Span idle = measure(&watch, {{menu}, during.server, during.others, {xvfb}}, span);
        const auto threads_after = thread_seconds(menu);
        stop(menu);
        Span background;
        if (wine) {
            // The prefix without the menu, settled long since.
            std::this_thread::sleep_for(std::chrono::seconds(3));
            const WineProcesses machinery = wine_processes(prefix, 0);
            background = measure(nullptr, {machinery.server, machinery.others}, span);
        }
        const double menu_share = percent(idle.seconds[0], span);
        const double server_share = percent(idle.seconds[1], span);
        std::printf("the menu%s%s drew last %.1f s after its start; measured over the next %lld s, with %d "
                    "drawings and %d windows of its own\n",
                    wine ? " under wine" : "", sound_off ? " with its music off" : "",
                    quiet_after - std::chrono::duration<double>(quiet_before).count(),
                    static_cast<long long>(span.count()), idle.drawings, watch.windows());
        std::printf("menu process %.2f %% of a core", menu_share);
        if (wine)
            std::printf(", wineserver %.2f %% (%.2f %% once the menu had ended), the prefix's %zu other "
                        "processes %.2f %% (%.2f %% after)",
                        server_share, percent(background.seconds[0], span), during.others.size(),
                        percent(idle.seconds[2], span), percent(background.seconds[1], span));
        std::printf("; Xvfb %.2f %%\n", percent(idle.seconds[3], span));
        // Where in the menu's process the time went: its own threads, Qt's, the system's player's.
        std::vector<std::pair<double, std::string>> busy;
        for (const auto& [name, seconds] : threads_after) {
            const auto before = threads_before.find(name);
            const double used = seconds - (before == threads_before.end() ? 0 : before->second);
            if (percent(used, span) >= 0.05)
                busy.emplace_back(percent(used, span), name);
        }
        std::sort(busy.rbegin(), busy.rend());
        std::printf("the menu's threads at 0.05 %% or more:");
        for (const auto& [share, name] : busy)
            std::printf(" %s %.2f %%;", name.c_str(), share);
        std::printf("\n");
        const double server_for_menu =
            wine ? std::max(0.0, server_share - percent(background.seconds[0], span)) : 0;
        std::printf("idle_percent=%.2f\n", menu_share + server_for_menu);
        if (idle.drawings > 0)
            std::printf("the menu drew during the span: the figure is not one of an idle menu\n");
    }
    stop(xvfb);
    fs::remove_all(work);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    return run_benchmark(run, argc, argv);
}
