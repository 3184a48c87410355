#pragma once
// The single-instance rule: a second start finds the running program, has it restore and raise
// its window, and ends. How the two find each other is platform code behind this interface.
#include <QString>
#include <memory>
#include <string>

class QWidget;
class QSocketNotifier;

namespace kvr {

class InstanceFinder {
public:
    virtual ~InstanceFinder() = default;
    // If this user's program already runs on this display, asks it to restore its window and
    // bring it to the front, and returns true.
    virtual bool raiseExisting(const QString& title) = 0;
    // Called once this program's own window exists: from then on a later start finds it.
    virtual void announce(QWidget* window, const QString& title) = 0;
};

// Linux, on X11 and Wayland alike: a local socket in the user's runtime folder, named after the
// program and the display. Only the program itself listens there, so a window of another
// program with the same title is never taken for it.
class LocalSocketInstanceFinder final : public InstanceFinder {
public:
    LocalSocketInstanceFinder();
    ~LocalSocketInstanceFinder() override;
    bool raiseExisting(const QString& title) override;
    void announce(QWidget* window, const QString& title) override;

private:
    int listener_ = -1;
    std::string path_;  // the socket this program made, removed when it ends
    std::unique_ptr<QSocketNotifier> notifier_;
};

// The finder that fits the platform.
std::unique_ptr<InstanceFinder> makePlatformInstanceFinder();

}  // namespace kvr
