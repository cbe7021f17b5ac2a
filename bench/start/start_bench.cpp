// Times a start as a reader sees it: from the moment the program is started to its first frame, that
// is, the first drawing into a window of its own that the X server reports (through the DAMAGE
// extension, which sees every drawing, a black one too). The menu runs from a copy of the disc with a
// settings file of its own; a bare frameless Qt window is started the same way between its starts, so
// that both see the same machine. Runs its own Xvfb.
//
//   start MENU-PROGRAM DISC-DIRECTORY BARE-WINDOW-PROGRAM [STARTS]
//
// The last line gives the ratio of the medians.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "start: %s\n", why.c_str());
    std::exit(1);
}

double processor_seconds(const rusage& usage) {
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

constexpr int x_server_tries = 5;
constexpr auto x_server_wait = std::chrono::seconds(10);

// The display a server names on the pipe, read to its newline (the number and the newline come apart);
// empty once the server has closed the pipe (it has ended) or the deadline has passed.
std::string named_display(int pipe_end, Clock::time_point deadline) {
    std::string named;
    while (named.empty() || named.back() != '\n') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd in{pipe_end, POLLIN, 0};
        if (left.count() <= 0 || poll(&in, 1, int(left.count())) <= 0)
            return {};
        char chunk[32];
        const ssize_t length = read(pipe_end, chunk, sizeof chunk);
        if (length <= 0)
            return {};
        named.append(chunk, size_t(length));
    }
    named.pop_back();
    return ":" + named;
}

// A client is answered on the display within five seconds. Tried in a child: a stopped server takes the
// connection and never answers.
bool display_answers(const std::string& display) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(XOpenDisplay(display.c_str()) != nullptr ? 0 : 1);
    int status = 0;
    for (int i = 0; i < 500; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

// How the server ended, waiting for it up to the tenths of a second; nothing while it runs.
std::optional<int> end_status(pid_t pid, int tenths = 0) {
    for (int i = 0;; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (i >= tenths)
            return std::nullopt;
        usleep(100000);
    }
}

// Ends the program; gives the processor time it used, in seconds.
double stop(pid_t pid) {
    kill(pid, SIGTERM);
    rusage usage{};
    for (int i = 0; i < 200; ++i) {
        if (wait4(pid, nullptr, WNOHANG, &usage) == pid)
            return processor_seconds(usage);
        usleep(10000);
    }
    kill(pid, SIGKILL);
    wait4(pid, nullptr, 0, &usage);
    return processor_seconds(usage);
}

struct XServer {
    pid_t pid;
    std::string display;
};

// Xvfb on a display it picks itself, taken once a client is answered there while it still runs: on a
// shared machine a server may name its display and end, or never answer. One that fails is ended and
// another started, a few times, as the scripts' x-server.sh does.
XServer start_x_server() {
    std::string cause;
    for (int attempt = 1; attempt <= x_server_tries; ++attempt) {
        int pipe_ends[2];
        if (pipe(pipe_ends) != 0)
            fail("no pipe");
        const pid_t pid = fork();
        if (pid == 0) {
            close(pipe_ends[0]);
            const std::string fd = std::to_string(pipe_ends[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
                   "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipe_ends[1]);
        const auto deadline = Clock::now() + x_server_wait;
        const std::string display = named_display(pipe_ends[0], deadline);
        close(pipe_ends[0]);
        // A pipe closed before the deadline: the server is ending.
        std::optional<int> status = end_status(pid, display.empty() && Clock::now() < deadline ? 20 : 0);
        cause = display.empty() ? "Xvfb named no display within 10 s" : "";
        while (cause.empty() && !status) {
            // What answered must be ours: another program's server may take the number after ours ends.
            const bool answered = display_answers(display);
            status = end_status(pid);
            if (answered && !status)
                return {pid, display};
            if (!status && Clock::now() >= deadline)
                cause = "Xvfb on " + display + " did not answer within 10 s";
            usleep(100000);
        }
        if (status)
            cause = "Xvfb" + (display.empty() ? std::string() : " on " + display) + " ended with status " +
                    std::to_string(*status);
        else
            stop(pid);
        if (attempt < x_server_tries)
            std::fprintf(stderr, "start: note: %s; trying another display\n", cause.c_str());
    }
    fail(cause + " (tried " + std::to_string(x_server_tries) + " servers)");
}

struct Program {
    std::string path;
    std::string directory;
};

class FirstFrameWatch {
public:
    explicit FirstFrameWatch(const std::string& display) : x_(XOpenDisplay(display.c_str())) {
        if (x_ == nullptr)
            fail("cannot open display " + display);
        int error_base = 0;
        if (!XDamageQueryExtension(x_, &damage_event_base_, &error_base))
            fail("the X server has no DAMAGE extension");
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }); // a window may go before it is watched
        XSelectInput(x_, DefaultRootWindow(x_), SubstructureNotifyMask);
        XSync(x_, False);
    }
    ~FirstFrameWatch() { XCloseDisplay(x_); }

    struct Start {
        double seconds;           // from the start to the first drawing into one of its windows
        double processor_seconds; // used by then (and by its end, which is quick)
    };

    Start time_start(const Program& program) {
        const auto started = Clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir(program.directory.c_str()) != 0)
                _exit(127);
            execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        const double seconds = wait_for_first_drawing(started);
        const double processor = stop(pid);
        forget_windows();
        return {seconds, processor};
    }

private:
    double wait_for_first_drawing(Clock::time_point started) {
        for (;;) {
            while (XPending(x_) > 0) {
                XEvent event;
                XNextEvent(x_, &event);
                if (event.type == CreateNotify && event.xcreatewindow.parent == DefaultRootWindow(x_))
                    damages_.push_back(XDamageCreate(x_, event.xcreatewindow.window, XDamageReportNonEmpty));
                else if (event.type == damage_event_base_ + XDamageNotify)
                    return std::chrono::duration<double>(Clock::now() - started).count();
                XFlush(x_);
            }
            pollfd connection{ConnectionNumber(x_), POLLIN, 0};
            if (poll(&connection, 1, 30000) == 0)
                fail("no frame within 30 s");
        }
    }

    void forget_windows() {
        for (Damage damage : damages_)
            XDamageDestroy(x_, damage);
        damages_.clear();
        XSync(x_, True); // events of the program that has gone
    }

    Display* x_;
    int damage_event_base_ = 0;
    std::vector<Damage> damages_;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4)
        fail("usage: start MENU-PROGRAM DISC-DIRECTORY BARE-WINDOW-PROGRAM [STARTS]");
    const int starts = argc > 4 ? std::max(1, std::atoi(argv[4])) : 7;
    // Before the work directory, which a failure here would leave behind.
    const auto [xvfb, display] = start_x_server();
    const fs::path work = fs::temp_directory_path() / ("kelvox-start-" + std::to_string(getpid()));
    const fs::path disc = work / "disc";
    fs::create_directories(work);
    fs::copy(argv[2], disc, fs::copy_options::recursive);
    fs::copy_file(argv[1], disc / "kelvox-menu");
    setenv("KELVOX_REGISTRY", (work / "registry.reg").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("DISPLAY", display.c_str(), 1);
    std::vector<double> menu_times, bare_times, menu_processor, bare_processor;
    {
        FirstFrameWatch watch(display);
        const Program menu{(disc / "kelvox-menu").string(), disc.string()};
        const Program bare{fs::absolute(argv[3]).string(), work.string()};
        watch.time_start(bare); // the first start of all fills the caches for both
        for (int i = 0; i < starts; ++i) {
            const auto bare_start = watch.time_start(bare);
            const auto menu_start = watch.time_start(menu);
            bare_times.push_back(bare_start.seconds);
            menu_times.push_back(menu_start.seconds);
            bare_processor.push_back(bare_start.processor_seconds);
            menu_processor.push_back(menu_start.processor_seconds);
            std::printf("start %d: bare window %.3f s (processor %.3f s), menu %.3f s (processor %.3f s)\n",
                        i + 1, bare_start.seconds, bare_start.processor_seconds, menu_start.seconds,
                        menu_start.processor_seconds);
        }
    }
    stop(xvfb);
    fs::remove_all(work);
    const double menu = median(menu_times);
    const double bare = median(bare_times);
    std::printf(
        "median of %d starts: bare window %.3f s, menu %.3f s; processor time %.3f s against %.3f s\n",
        starts, bare, menu, median(menu_processor), median(bare_processor));
    std::printf("start/bare=%.2f\n", menu / bare);
    return 0;
}
