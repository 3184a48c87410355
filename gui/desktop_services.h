#pragma once
// Opening an address with the desktop's default handler; faked in tests.
#include <QDesktopServices>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace kvr {

class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    virtual void openAddress(const QString& address) = 0;
};

class QtDesktopServices final : public DesktopServices {
public:
    // A failure to start the handler is not reported: the owner sees that nothing opened.
    void openAddress(const QString& address) override {
        QDesktopServices::openUrl(QUrl::fromUserInput(address));
    }
};

class RecordingDesktopServices final : public DesktopServices {
public:
    void openAddress(const QString& address) override { opened.append(address); }
    QStringList opened;
};

}  // namespace kvr
