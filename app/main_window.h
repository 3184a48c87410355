#pragma once
// TForm1: the skinned 800 x 600 main window. It owns the device link and the pages' state, and
// turns device results into what the owner sees.
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

class QLabel;
class QSystemTrayIcon;

namespace kvr {

class Dialogs;
class HidBackend;
class Pacer;
class TFormLoadingUI;

// What the window needs from the platform; tests pass fakes.
struct AppServices {
    HidBackend& hid;
    Pacer& pacer;
    Dialogs& dialogs;
};

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(AppServices services, QWidget* parent = nullptr);
    ~TForm1() override;

    void setBusyWindow(TFormLoadingUI* busy) { busy_ = busy; }

    // The presence tick: counts HID interfaces, finds, reads or loses the mouse.
    void DevTimerTimer();
    QTimer& presenceTimer() { return presenceTimer_; }

    bool errorAppearance() const { return errorAppearance_; }
    int currentPage() const { return currentPage_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void createPages();
    void FormCloseQuery();

    AppServices services_;
    QTimer presenceTimer_;
    QSystemTrayIcon* tray_ = nullptr;
    TFormLoadingUI* busy_ = nullptr;
    std::array<QWidget*, 4> pages_{};
    bool errorAppearance_ = false;
    int currentPage_ = 1;
};

}  // namespace kvr
