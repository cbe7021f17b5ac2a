#pragma once
// What the benchmarks that run the real menu on X share: an Xvfb of their own, a copy of the disc laid
// out as a reader's (the Linux menu at its root, or the Windows bundle in kelvox-windows\), programs
// started natively or through wine in a wine prefix the benchmark starts and ends, and a watch on the
// drawing into the windows those programs make, as the X server reports it (DAMAGE).
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace kelvox::bench {

using Clock = std::chrono::steady_clock;

// The message on the error output, named by the program, and the end with status 1, after ending the
// children not yet stopped and the wine prefix's server, and removing the work folder.
[[noreturn]] void fail(const std::string& why);
// The work folder a failure removes.
void remove_on_failure(const std::filesystem::path& work);
// Runs a benchmark's body; an error it lets out (a file that cannot be copied) ends the run as fail()
// does, leaving nothing running.
int run_benchmark(int (*body)(int argc, char** argv), int argc, char** argv);
// Takes a leading `option` (such as --wine) off the arguments; whether it was there.
bool take_option(int& argc, char**& argv, const char* option);

struct XServer {
    pid_t pid;
    std::string display;
};

// Xvfb at 1024 × 768 on a display it picks itself, taken once a client is answered there while it still
// runs; one that fails is replaced a few times.
XServer start_x_server();

// Ends a child (SIGTERM, SIGKILL after two seconds); gives the processor time it used, in seconds.
double stop(pid_t pid);

// How the programs are started: natively, or through wine in the prefix $WINEPREFIX, whose server the
// session starts (persistent, so that every start finds it warm) and ends.
class Launcher {
public:
    // Under wine, the display must be the one the programs will use: wine's desktop process takes it.
    Launcher(bool wine, const std::string& display);
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    bool wine() const { return wine_; }
    // The program started in `directory`, with no arguments; its process id (under wine the Windows
    // process itself, as the wine loader replaces itself with it).
    pid_t start(const std::filesystem::path& program, const std::filesystem::path& directory) const;

private:
    bool wine_;
};

// The disc as a reader's copy holds it, in `work`/disc: the Linux menu as kelvox-menu at the root, or,
// under wine, the Windows menu's bundle (the folder holding `menu`) as kelvox-windows\. The menu starts
// with the disc's root as its current directory.
struct DiscCopy {
    std::filesystem::path root;
    std::filesystem::path menu;
};
DiscCopy copy_disc(const std::filesystem::path& work, const std::filesystem::path& menu,
                   const std::filesystem::path& disc, bool wine);

// Watches the top-level windows created after it was made (or after forget()) and reports each batch
// of drawing into them.
class DrawingWatch {
public:
    explicit DrawingWatch(const std::string& display);
    ~DrawingWatch();
    DrawingWatch(const DrawingWatch&) = delete;
    DrawingWatch& operator=(const DrawingWatch&) = delete;

    // Waits up to the deadline for a drawing; the time it was seen, nothing at the deadline.
    std::optional<Clock::time_point> next_drawing(Clock::time_point deadline);
    // Windows made since the watch began (or since forget()).
    int windows() const { return int(damages_.size()); }
    // Drops the windows watched so far and the events of programs that have gone.
    void forget();

private:
    Display* x_;
    int damage_event_base_ = 0;
    std::vector<Damage> damages_;
};

// Processor time used so far, in seconds, by a running process (all of its threads, ended ones too);
// nothing once it has ended.
std::optional<double> process_seconds(pid_t pid);
// The same for each of its running threads, summed by the thread's name.
std::map<std::string, double> thread_seconds(pid_t pid);

// Processes of the wine prefix other than `except`: its server and the rest (the desktop, services).
struct WineProcesses {
    std::vector<pid_t> server;
    std::vector<pid_t> others;
};
WineProcesses wine_processes(const std::string& prefix, pid_t except);

double median(std::vector<double> values);

} // namespace kelvox::bench
