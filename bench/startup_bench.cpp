// How quickly the window shows, and how much memory it takes, beside a bare Qt window: both
// started in turn on a private X server, seven times each, from exec to the first top-level
// window the server maps, and their resident memory three seconds later.
//
//   startup_bench [KVR5507 [BARE]]   (default: kvr5507 and bare_qt_window beside this program)
//
// Prints the medians, then `startup ratio=<ours / bare>` and `rss_over_bare_mib value=<n>`.
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 7;
constexpr auto kSettle = std::chrono::seconds(3);

// An Xvfb of our own; its display name, or empty when it would not start.
struct PrivateServer {
    pid_t pid = -1;
    std::string name;

    PrivateServer() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        // Xvfb writes the number and the newline apart: read up to the newline, or closing the
        // pipe early makes the server's second write fail and the server quit.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (::poll(&p, 1, 10000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        if (c == '\n' && !number.empty()) name = ":" + number;
        ::close(fds[0]);
    }
    ~PrivateServer() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    }
};

struct Sample {
    double ms = 0;
    double rssMib = 0;
};

double residentMib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib / 1024.0;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

// Starts `argv` and waits for the first top-level window the server maps.
std::optional<Sample> measure(Display* display, const std::string& server,
                              const std::vector<std::string>& argv) {
    while (XPending(display)) {
        XEvent drop;
        XNextEvent(display, &drop);
    }
    const auto start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("DISPLAY", server.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    std::optional<Sample> sample;
    const auto limit = start + std::chrono::seconds(20);
    const int fd = ConnectionNumber(display);
    while (!sample && Clock::now() < limit) {
        while (XPending(display)) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == MapNotify && !sample) {
                sample = Sample{std::chrono::duration<double, std::milli>(Clock::now() - start)
                                    .count(),
                                0};
            }
        }
        if (sample) break;
        pollfd p{fd, POLLIN, 0};
        ::poll(&p, 1, 50);
    }
    if (sample) {
        // Three seconds on, as a user would find it.
        ::usleep(static_cast<useconds_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(kSettle).count()));
        sample->rssMib = residentMib(pid);
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return sample;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path here =
        std::filesystem::canonical("/proc/self/exe").parent_path();
    const std::string ours = argc > 1 ? argv[1] : (here.parent_path() / "kvr5507").string();
    const std::string bare = argc > 2 ? argv[2] : (here / "bare_qt_window").string();
    const std::filesystem::path memory =
        std::filesystem::temp_directory_path() / ("startup_bench_" + std::to_string(::getpid()));

    PrivateServer server;
    if (server.name.empty()) {
        std::fprintf(stderr, "startup_bench: Xvfb would not start\n");
        return 1;
    }
    Display* display = XOpenDisplay(server.name.c_str());
    if (!display) {
        std::fprintf(stderr, "startup_bench: cannot reach %s\n", server.name.c_str());
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    std::vector<double> oursMs, bareMs, oursRss, bareRss;
    // In turn, so that a slower moment of the machine weighs on both alike.
    for (int run = 0; run < kRuns; ++run) {
        std::filesystem::remove(memory);
        const auto a = measure(display, server.name, {ours, "--emulate=" + memory.string()});
        const auto b = measure(display, server.name, {bare});
        if (!a || !b) {
            std::fprintf(stderr, "startup_bench: %s showed no window\n",
                         !a ? ours.c_str() : bare.c_str());
            return 1;
        }
        oursMs.push_back(a->ms);
        oursRss.push_back(a->rssMib);
        bareMs.push_back(b->ms);
        bareRss.push_back(b->rssMib);
    }
    std::filesystem::remove(memory);
    XCloseDisplay(display);

    std::printf("startup_ms ours=%.1f bare=%.1f\n", median(oursMs), median(bareMs));
    std::printf("rss_mib ours=%.1f bare=%.1f\n", median(oursRss), median(bareRss));
    std::printf("startup ratio=%.2f\n", median(oursMs) / median(bareMs));
    std::printf("rss_over_bare_mib value=%.1f\n", median(oursRss) - median(bareRss));
    return 0;
}
