#include "app/busy_window.h"

#include <QBitmap>
#include <QLabel>
#include <QPainter>
#include <algorithm>

namespace kvr {

namespace {
constexpr int kClientWidth = 206;
constexpr int kClientHeight = 196;
constexpr int kAnimationWidth = 200;
constexpr int kAnimationHeight = 192;
}  // namespace

TFormLoadingUI::TFormLoadingUI(const QWidget& mainWindow, std::vector<AnimationFrame> frames)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      WaitGif_(new QLabel(this)),
      frames_(std::move(frames)) {
    setObjectName("TFormLoadingUI");
    setWindowTitle("FormLoadingUI");
    FormCreate(mainWindow);
}

void TFormLoadingUI::FormCreate(const QWidget& mainWindow) {
    setFixedSize(kClientWidth, kClientHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    WaitGif_->setObjectName("WaitGif");
    WaitGif_->setGeometry(0, 0, kAnimationWidth, kAnimationHeight);
    WaitGif_->setScaledContents(true);

    // Integer division truncates toward zero, as the placement rule asks.
    const QRect main = mainWindow.geometry();
    move(main.left() + (main.width() - kClientWidth) / 2,
         main.top() + (main.height() - kClientHeight) / 2 + 40);

    animation_.setTimerType(Qt::PreciseTimer);
    connect(&animation_, &QTimer::timeout, this, &TFormLoadingUI::nextFrame);
    if (!frames_.empty()) {
        frame_ = int(frames_.size()) - 1;
        nextFrame();
    }
}

void TFormLoadingUI::nextFrame() {
    if (frames_.empty()) return;
    frame_ = (frame_ + 1) % int(frames_.size());
    const AnimationFrame& f = frames_[size_t(frame_)];
    QPixmap pixmap = QPixmap::fromImage(f.image);
    WaitGif_->setPixmap(pixmap);
    // Black is see-through: the mask keeps only the animation's lit pixels.
    QBitmap mask = QBitmap::fromPixmap(
        pixmap.createMaskFromColor(Qt::black, Qt::MaskInColor)
            .scaled(kAnimationWidth, kAnimationHeight));
    QBitmap full(kClientWidth, kClientHeight);
    full.fill(Qt::color0);
    {
        QPainter painter(&full);
        painter.drawPixmap(0, 0, mask);
    }
    setMask(full);
    if (isVisible()) animation_.start(std::max(10, f.delayMs));
}

void TFormLoadingUI::Show() {
    ++shows_;
    if (!isVisible()) {
        show();
        // A hidden window does not animate; the frames turn while the transfer pumps events.
        if (!frames_.empty()) animation_.start(std::max(10, frames_[size_t(frame_)].delayMs));
    }
    raise();
}

void TFormLoadingUI::Hide() {
    ++hides_;
    animation_.stop();
    hide();
}

}  // namespace kvr
