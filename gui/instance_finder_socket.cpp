#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include "gui/instance_finder.h"

namespace kvr {

namespace {
QString socketName(const QString& title) {
    QString name = title;
    name.replace(' ', '_');
    return name + "-" + qEnvironmentVariable("USER", "user");
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
        window->showNormal();
        window->raise();
        window->activateWindow();
    });
}

std::unique_ptr<InstanceFinder> makePlatformInstanceFinder() {
    if (std::unique_ptr<InstanceFinder> finder = makeWindowListFinder()) return finder;
    return std::make_unique<LocalSocketInstanceFinder>();
}

}  // namespace kvr
