#include "x11_session.h"

#include <X11/Xatom.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

namespace kvr::test {

XvfbServer::XvfbServer() {
    // -displayfd makes the server pick a free display and write its number once it accepts
    // connections, so the test neither guesses a number nor waits on a timer.
    int fds[2];
    if (pipe(fds) != 0) return;
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // The server ends with the test, however the test ends (a crash, a timeout's SIGKILL):
        // the kernel signals it when its parent dies. A parent gone before this line is caught
        // by the check after it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        close(fds[0]);
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        return;
    }
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c;
    while (poll(&p, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return;
    name_ = ":" + QString::fromStdString(number);
    display_ = XOpenDisplay(name_.toLocal8Bit().constData());
    if (display_) {
        // Structure notices of the root window also bring the answers to pings.
        XSelectInput(display_, DefaultRootWindow(display_),
                     SubstructureNotifyMask | StructureNotifyMask);
        XSync(display_, False);
    }
}

XvfbServer::~XvfbServer() {
    if (display_) XCloseDisplay(display_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

bool XvfbServer::waitForEvent(std::chrono::milliseconds limit) {
    XFlush(display_);
    if (XPending(display_) == 0) {
        pollfd p{ConnectionNumber(display_), POLLIN, 0};
        if (poll(&p, 1, int(limit.count())) <= 0) return false;
    }
    const Atom ping = XInternAtom(display_, "_NET_WM_PING", False);
    while (XPending(display_) > 0) {
        XEvent ev;
        XNextEvent(display_, &ev);
        if (ev.type == MapNotify) mapped_.insert(ev.xmap.window);
        // A pinged window answers with its ping sent back to the root window.
        if (ev.type == ClientMessage && Atom(ev.xclient.data.l[0]) == ping)
            pongs_.insert(ev.xclient.data.l[1]);
    }
    return true;
}

bool XvfbServer::roundTrip(Window w, std::chrono::milliseconds limit) {
    const long serial = nextPing_++;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(display_, "_NET_WM_PING", False));
    // The timestamp field carries the serial back.
    ev.xclient.data.l[1] = serial;
    ev.xclient.data.l[2] = long(w);
    if (!XSendEvent(display_, w, False, NoEventMask, &ev)) return false;
    return waitUntil([&] { return pongs_.contains(serial); }, limit);
}

std::vector<Window> XvfbServer::windowsTitled(const QString& title) {
    Window root = DefaultRootWindow(display_), r = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> found;
    if (XQueryTree(display_, root, &r, &parent, &children, &count) && children) {
        for (unsigned int i = 0; i < count; ++i) {
            char* name = nullptr;
            if (XFetchName(display_, children[i], &name) && name) {
                if (title == QString::fromLocal8Bit(name)) found.push_back(children[i]);
                XFree(name);
            }
        }
        XFree(children);
    }
    return found;
}

Window XvfbServer::findWindowTitled(const QString& title) {
    const std::vector<Window> found = windowsTitled(title);
    return found.empty() ? 0 : found.front();
}

int XvfbServer::countWindowsTitled(const QString& title) {
    return int(windowsTitled(title).size());
}

bool XvfbServer::isViewable(Window w) {
    XWindowAttributes a;
    return XGetWindowAttributes(display_, w, &a) && a.map_state == IsViewable;
}

}  // namespace kvr::test
