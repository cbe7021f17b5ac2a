#include "bench/x_session/x_session.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvox::bench {

namespace fs = std::filesystem;

namespace {

// What a failure must not leave running: the children not yet stopped, and the wine prefix's server.
std::vector<pid_t> live_children;
const char* started_wine_prefix = nullptr;
std::filesystem::path failure_leaves;

int run_quietly(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1 </dev/null").c_str());
}

void forget_child(pid_t pid) {
    live_children.erase(std::remove(live_children.begin(), live_children.end(), pid), live_children.end());
}

} // namespace

void fail(const std::string& why) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, why.c_str());
    for (const pid_t pid : live_children) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (started_wine_prefix != nullptr)
        run_quietly("wineserver -k");
    if (!failure_leaves.empty()) {
        std::error_code ignored;
        fs::remove_all(failure_leaves, ignored);
    }
    std::exit(1);
}

void remove_on_failure(const std::filesystem::path& work) {
    failure_leaves = work;
}

int run_benchmark(int (*body)(int argc, char** argv), int argc, char** argv) {
    try {
        return body(argc, argv);
    } catch (const std::exception& error) {
        fail(error.what());
    }
}

bool take_option(int& argc, char**& argv, const char* option) {
    if (argc < 2 || std::strcmp(argv[1], option) != 0)
        return false;
    argv[1] = argv[0];
    --argc;
    ++argv;
    return true;
}

namespace {

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

} // namespace

double stop(pid_t pid) {
    forget_child(pid);
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
            if (answered && !status) {
                live_children.push_back(pid);
                return {pid, display};
            }
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
            std::fprintf(stderr, "%s: note: %s; trying another display\n", program_invocation_short_name,
                         cause.c_str());
    }
    fail(cause + " (tried " + std::to_string(x_server_tries) + " servers)");
}

Launcher::Launcher(bool wine, const std::string& display) : wine_(wine) {
    setenv("DISPLAY", display.c_str(), 1);
    if (!wine_)
        return;
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix == nullptr || *prefix == '\0')
        fail("under wine the benchmark needs WINEPREFIX, a prefix of its own that it starts and ends");
    setenv("WINEDEBUG", "-all", 0);
    setenv("WINEDLLOVERRIDES", "winemenubuilder.exe=d;mscoree=d;mshtml=d", 0);
    fs::create_directories(prefix);
    // The server stays between the starts, as on a reader's machine where the system is already up;
    // wineboot's desktop process takes this display, which every program of the prefix then uses.
    started_wine_prefix = prefix;
    if (run_quietly("wineserver -p") != 0)
        fail("wineserver could not be started for " + std::string(prefix));
    if (run_quietly("wineboot -i") != 0)
        fail("wineboot failed in " + std::string(prefix));
}

Launcher::~Launcher() {
    // Only the prefix's own server, and with it the prefix's processes.
    if (wine_) {
        run_quietly("wineserver -k");
        started_wine_prefix = nullptr;
    }
}

pid_t Launcher::start(const fs::path& program, const fs::path& directory) const {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(directory.c_str()) != 0)
            _exit(127);
        if (wine_)
            execlp("wine", "wine", program.c_str(), static_cast<char*>(nullptr));
        else
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0)
        fail("cannot start " + program.string());
    live_children.push_back(pid);
    return pid;
}

DiscCopy copy_disc(const fs::path& work, const fs::path& menu, const fs::path& disc, bool wine) {
    const fs::path root = work / "disc";
    fs::create_directories(work);
    fs::copy(disc, root, fs::copy_options::recursive);
    if (!wine) {
        fs::copy_file(menu, root / "kelvox-menu");
        // The music module goes where the menu looks for it: beside itself.
        fs::copy_file(menu.parent_path() / "libkelvox_music.so", root / "libkelvox_music.so");
        return {root, root / "kelvox-menu"};
    }
    const fs::path bundle = root / "kelvox-windows";
    fs::copy(fs::absolute(menu).parent_path(), bundle, fs::copy_options::recursive);
    return {root, bundle / menu.filename()};
}

DrawingWatch::DrawingWatch(const std::string& display) : x_(XOpenDisplay(display.c_str())) {
    if (x_ == nullptr)
        fail("cannot open display " + display);
    int error_base = 0;
    if (!XDamageQueryExtension(x_, &damage_event_base_, &error_base))
        fail("the X server has no DAMAGE extension");
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }); // a window may go before it is watched
    XSelectInput(x_, DefaultRootWindow(x_), SubstructureNotifyMask);
    XSync(x_, False);
}

DrawingWatch::~DrawingWatch() {
    XCloseDisplay(x_);
}

std::optional<Clock::time_point> DrawingWatch::next_drawing(Clock::time_point deadline) {
    for (;;) {
        while (XPending(x_) > 0) {
            XEvent event;
            XNextEvent(x_, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == DefaultRootWindow(x_)) {
                damages_.push_back(XDamageCreate(x_, event.xcreatewindow.window, XDamageReportNonEmpty));
            } else if (event.type == damage_event_base_ + XDamageNotify) {
                // Emptied, so that the next drawing is reported again.
                XDamageSubtract(x_, reinterpret_cast<XDamageNotifyEvent&>(event).damage, None, None);
                XFlush(x_);
                return Clock::now();
            }
            XFlush(x_);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd connection{ConnectionNumber(x_), POLLIN, 0};
        if (left.count() <= 0 || poll(&connection, 1, int(left.count())) == 0)
            return std::nullopt;
    }
}

void DrawingWatch::forget() {
    for (Damage damage : damages_)
        XDamageDestroy(x_, damage);
    damages_.clear();
    XSync(x_, True); // events of the program that has gone
}

namespace {

// utime and stime of a /proc stat file: its 14th and 15th fields, counted from the process id. The name
// in parentheses before them may hold spaces; the fields after it are plain.
std::optional<double> stat_seconds(const fs::path& stat_file) {
    std::ifstream in(stat_file);
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto name_end = stat.rfind(')');
    if (name_end == std::string::npos)
        return std::nullopt;
    std::istringstream fields(stat.substr(name_end + 1));
    std::string field;
    double ticks = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number)
        if (number >= 14)
            ticks += std::strtod(field.c_str(), nullptr);
    return ticks / double(sysconf(_SC_CLK_TCK));
}

} // namespace

std::optional<double> process_seconds(pid_t pid) {
    return stat_seconds("/proc/" + std::to_string(pid) + "/stat");
}

std::map<std::string, double> thread_seconds(pid_t pid) {
    std::map<std::string, double> threads;
    std::error_code error;
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        threads[name] += stat_seconds(task.path() / "stat").value_or(0);
    }
    return threads;
}

WineProcesses wine_processes(const std::string& prefix, pid_t except) {
    WineProcesses found;
    const std::string wanted = "WINEPREFIX=" + prefix;
    for (const auto& item : fs::directory_iterator("/proc")) {
        const std::string name = item.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos || std::stoi(name) == except)
            continue;
        std::ifstream in(item.path() / "environ", std::ios::binary);
        std::string variable;
        bool ours = false;
        while (!ours && std::getline(in, variable, '\0'))
            ours = variable == wanted;
        if (!ours)
            continue;
        std::error_code error;
        const std::string exe = fs::read_symlink(item.path() / "exe", error).filename().string();
        (exe.rfind("wineserver", 0) == 0 ? found.server : found.others).push_back(std::stoi(name));
    }
    return found;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace kelvox::bench
