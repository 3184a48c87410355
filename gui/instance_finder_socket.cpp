#include <errno.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <QWindow>
#include <cstring>
#include <optional>

#include "gui/instance_finder.h"

namespace kvr {

namespace {

// One program per user and display: a start on another display (another seat, a private X
// server) is a program of its own.
std::string socketPath(const QString& title) {
    const bool x11 = QGuiApplication::platformName() == "xcb";
    QString display = qEnvironmentVariable(x11 ? "DISPLAY" : "WAYLAND_DISPLAY");
    if (display.isEmpty()) display = QGuiApplication::platformName();
    QString name = "kvr5507-" + QString::number(::getuid()) + "-" + title + "-" + display;
    for (QChar& c : name) {
        if (!c.isLetterOrNumber() && c != '-' && c != '.') c = '_';
    }
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::tempPath();
    return QFile::encodeName(folder + "/" + name).toStdString();
}

// The socket's address; empty when the path is too long for one.
std::optional<sockaddr_un> addressOf(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return std::nullopt;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

int streamSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

bool connectTo(int fd, const sockaddr_un& address) {
    return ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

}  // namespace

LocalSocketInstanceFinder::LocalSocketInstanceFinder() = default;

LocalSocketInstanceFinder::~LocalSocketInstanceFinder() {
    notifier_.reset();
    if (listener_ < 0) return;
    ::close(listener_);
    ::unlink(path_.c_str());
}

bool LocalSocketInstanceFinder::raiseExisting(const QString& title) {
    const std::optional<sockaddr_un> address = addressOf(socketPath(title));
    if (!address) return false;
    const int fd = streamSocket();
    if (fd < 0) return false;
    // A listening program takes the connection at once; nobody listening refuses it at once.
    const bool found = connectTo(fd, *address);
    if (found) (void)!::send(fd, "raise\n", 6, MSG_NOSIGNAL);
    ::close(fd);
    return found;
}

void LocalSocketInstanceFinder::announce(QWidget* window, const QString& title) {
    const std::string path = socketPath(title);
    const std::optional<sockaddr_un> address = addressOf(path);
    if (!address || listener_ >= 0) return;
    const int fd = streamSocket();
    if (fd < 0) return;
    // Only this user may connect: the socket is made without access for anybody else.
    const mode_t previous = ::umask(077);
    bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) == 0;
    if (!bound && errno == EADDRINUSE) {
        // A socket left behind by a program that crashed: nobody answered the search, so reuse it.
        ::unlink(path.c_str());
        bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof(*address)) == 0;
    }
    ::umask(previous);
    if (!bound || ::listen(fd, 4) != 0) {
        // Without the socket a later start opens a second window; this one still works.
        ::close(fd);
        return;
    }
    listener_ = fd;
    path_ = path;
    notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, window, [this, window] {
        bool asked = false;
        for (int c; (c = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0; asked = true)
            ::close(c);
        if (!asked) return;
        // A window hidden behind Qt's back (unmapped, iconified) is shown again from scratch.
        if (!window->windowHandle() || !window->windowHandle()->isExposed()) window->hide();
        window->showNormal();
        window->raise();
        window->activateWindow();
    });
}

std::unique_ptr<InstanceFinder> makePlatformInstanceFinder() {
    return std::make_unique<LocalSocketInstanceFinder>();
}

}  // namespace kvr
