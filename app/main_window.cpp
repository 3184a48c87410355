#include "app/main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSystemTrayIcon>

#include "app/busy_window.h"
#include "app/dialogs.h"
#include "app/program.h"

namespace kvr {

namespace {
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr int kPresenceIntervalMs = 3500;
const QColor kMaroon(128, 0, 0);  // the window's see-through colour
}  // namespace

TForm1::TForm1(AppServices services, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window), services_(services) {
    setObjectName("TForm1");
    setWindowTitle(kMainWindowTitle);
    FormCreate();
    presenceTimer_.setInterval(kPresenceIntervalMs);
    connect(&presenceTimer_, &QTimer::timeout, this, &TForm1::DevTimerTimer);
    presenceTimer_.start();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    tray_ = new QSystemTrayIcon(windowIcon(), this);
    // A desktop without a notification area is not an error; the icon is simply not shown.
    if (QSystemTrayIcon::isSystemTrayAvailable()) tray_->show();

    errorAppearance_ = false;
    currentPage_ = 1;

    // Centred by integer division: on a screen narrower than the window the left edge is
    // negative, and the window keeps its size.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->geometry()
                             : QRect(0, 0, kWindowWidth, kWindowHeight);
    setFixedSize(kWindowWidth, kWindowHeight);
    move(screen.left() + (screen.width() - kWindowWidth) / 2,
         screen.top() + (screen.height() - kWindowHeight) / 2);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kMaroon);
    setPalette(pal);
    setAutoFillBackground(true);

    createPages();
    pages_[0]->show();
    for (int p = 1; p < 4; ++p) pages_[size_t(p)]->hide();
}

void TForm1::createPages() {
    for (int p = 0; p < 4; ++p) {
        auto* page = new QWidget(this);
        page->setObjectName(QString("gbPage%1").arg(p + 1));
        page->setGeometry(0, 0, kWindowWidth, kWindowHeight);
        pages_[size_t(p)] = page;
    }
}

void TForm1::DevTimerTimer() {}

void TForm1::FormCloseQuery() {}

void TForm1::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    event->accept();
}

}  // namespace kvr
