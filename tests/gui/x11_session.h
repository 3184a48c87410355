#pragma once
// A private X server for tests that need real top-level windows (Xvfb, started on a free display).
// Qt's headers first: Xlib's macros (None, Bool, Status) would break them.
#include <QString>
#include <X11/Xlib.h>

#include <chrono>
#include <set>
#include <string>
#include <vector>

namespace kvr::test {

class XvfbServer {
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool ok() const { return display_ != nullptr; }
    int pid() const { return pid_; }
    QString displayName() const { return name_; }
    Display* display() const { return display_; }

    // Top-level windows (children of the root) whose name is exactly `title`.
    int countWindowsTitled(const QString& title);
    Window findWindowTitled(const QString& title);
    std::vector<Window> windowsTitled(const QString& title);
    bool isViewable(Window w);
    // Whether the window has been mapped since this session began watching.
    bool wasMapped(Window w) const { return mapped_.contains(w); }
    // Pings a Qt window and waits for its answer: the program has then handled every event the
    // server had for it before the ping, clicks and keys included.
    bool roundTrip(Window w, std::chrono::milliseconds limit);
    // Waits for X events until `done` holds, at most `limit`; events drive it, no polling sleep.
    template <typename Pred>
    bool waitUntil(Pred done, std::chrono::milliseconds limit);

private:
    bool waitForEvent(std::chrono::milliseconds limit);
    int pid_ = -1;
    QString name_;
    Display* display_ = nullptr;
    std::set<Window> mapped_;
    // Answers to pings, by their serial.
    std::set<long> pongs_;
    long nextPing_ = 1;
};

template <typename Pred>
bool XvfbServer::waitUntil(Pred done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        waitForEvent(left);
    }
    return true;
}

}  // namespace kvr::test
