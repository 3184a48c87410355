#pragma once
// The single-instance rule: a second start looks for the running program's window by its exact
// title, restores and raises it, and ends. The search is platform code behind this interface.
#include <QString>
#include <memory>

class QWidget;
class QLocalServer;

namespace kvr {

class InstanceFinder {
public:
    virtual ~InstanceFinder() = default;
    // If a top-level window with exactly this title exists, restores it, brings it to the front
    // and returns true.
    virtual bool raiseExisting(const QString& title) = 0;
    // Called once this program's own window exists, for platforms where a later start cannot
    // see other programs' windows and has to ask this one instead.
    virtual void announce(QWidget* window, const QString& title) = 0;
};

// Where windows of other programs cannot be listed (Wayland): a per-user local socket named after
// the title; the running program raises its own window when a later start connects.
class LocalSocketInstanceFinder final : public InstanceFinder {
public:
    LocalSocketInstanceFinder();
    ~LocalSocketInstanceFinder() override;
    bool raiseExisting(const QString& title) override;
    void announce(QWidget* window, const QString& title) override;

private:
    std::unique_ptr<QLocalServer> server_;
};

// The finder that fits the platform Qt runs on: the platform's own when it has one, otherwise
// the local socket.
std::unique_ptr<InstanceFinder> makePlatformInstanceFinder();

// A finder that searches other programs' windows, or null where they cannot be listed; the
// platform's folder defines it.
std::unique_ptr<InstanceFinder> makeWindowListFinder();

}  // namespace kvr
