#include <unistd.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <QWindow>

#include "gui/instance_finder.h"

namespace kvr {

namespace {

// One program per user and display: a start on another display (another seat, a private X
// server) is a program of its own.
QString socketName(const QString& title) {
    const bool x11 = QGuiApplication::platformName() == "xcb";
    QString display = qEnvironmentVariable(x11 ? "DISPLAY" : "WAYLAND_DISPLAY");
    if (display.isEmpty()) display = QGuiApplication::platformName();
    QString name = "kvr5507-" + QString::number(::getuid()) + "-" + title + "-" + display;
    for (QChar& c : name) {
        if (!c.isLetterOrNumber() && c != '-' && c != '.') c = '_';
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    // Without a runtime folder Qt puts the socket in the temporary folder.
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) return runtime + "/" + name;
    return name;
}

}  // namespace

LocalSocketInstanceFinder::LocalSocketInstanceFinder() = default;
LocalSocketInstanceFinder::~LocalSocketInstanceFinder() = default;

bool LocalSocketInstanceFinder::raiseExisting(const QString& title) {
    QLocalSocket socket;
    socket.connectToServer(socketName(title));
    if (!socket.waitForConnected(500)) return false;
    socket.write("raise\n");
    socket.waitForBytesWritten(500);
    return true;
}

void LocalSocketInstanceFinder::announce(QWidget* window, const QString& title) {
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name = socketName(title);
    if (!server_->listen(name)) {
        // A socket left behind by a program that crashed: nobody answered the search, so reuse it.
        QLocalServer::removeServer(name);
        server_->listen(name);
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, window, [this, window] {
        while (QLocalSocket* s = server_->nextPendingConnection()) s->deleteLater();
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
