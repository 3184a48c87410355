#include "gui/busy_window.h"

#include <QLabel>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <utility>

#include "gui/memory_release.h"

namespace kvr {

namespace {
constexpr int kClientWidth = 206;
constexpr int kClientHeight = 196;
constexpr int kAnimationWidth = 200;
constexpr int kAnimationHeight = 192;
constexpr int kBelowCentre = 40;
// A frame without a usable delay still turns, as viewers of such pictures do.
constexpr int kShortestDelayMs = 10;

// A frame at the animation's size, as the window shows it.
QImage atAnimationSize(const QImage& frame) {
    return frame.convertToFormat(QImage::Format_ARGB32).scaled(kAnimationWidth, kAnimationHeight);
}

// Black is see-through: the shape keeps only the lit pixels of the stretched frame (a pixel the
// picture leaves transparent counts as black), and nothing of the border around the animation.
QBitmap frameShape(const QImage& stretched) {
    QImage bits(kClientWidth, kClientHeight, QImage::Format_MonoLSB);
    bits.setColorCount(2);
    bits.setColor(0, QColor(Qt::color0).rgb());
    bits.setColor(1, QColor(Qt::color1).rgb());
    bits.fill(0);
    for (int y = 0; y < kAnimationHeight; ++y) {
        for (int x = 0; x < kAnimationWidth; ++x) {
            const QRgb p = stretched.pixel(x, y);
            if (qAlpha(p) != 0 && qRgb(qRed(p), qGreen(p), qBlue(p)) != qRgb(0, 0, 0))
                bits.setPixel(x, y, 1);
        }
    }
    return QBitmap::fromImage(bits);
}

// A frame as it is kept between shows and shown: with a colour table where the frame has no more
// than 256 colours, a quarter of its full size. Its see-through pixels show the window's black
// either way.
QImage keptFrame(const QImage& frame) {
    const QImage opaque = frame.convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> colours;
    for (int y = 0; y < opaque.height() && colours.size() <= 256; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(opaque.constScanLine(y));
        for (int x = 0; x < opaque.width(); ++x) colours.insert(line[x]);
    }
    if (colours.size() > 256) return opaque;
    return opaque.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}
}  // namespace

BusyWindow::BusyWindow(const QWidget& mainWindow, FrameSource frames)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      WaitGif_(new QLabel(this)),
      source_(std::move(frames)) {
    setObjectName("TFormLoadingUI");
    setWindowTitle("FormLoadingUI");
    // The owner keeps typing into the main window; the busy window only shows.
    setAttribute(Qt::WA_ShowWithoutActivating);
    FormCreate(mainWindow);
}

void BusyWindow::prepareFrames() {
    if (!source_) return;
    {
        const std::vector<AnimationFrame> frames = std::exchange(source_, nullptr)();
        frames_.reserve(frames.size());
        for (const AnimationFrame& f : frames) {
            if (f.image.isNull()) continue;
            frames_.push_back(prepared(f.image, f.delayMs));
        }
    }
    // The animation as decoded is several times the frames kept of it, and the transfer that
    // shows them has only begun.
    releaseFreedMemory();
    showFrame();
}

BusyWindow::PreparedFrame BusyWindow::prepared(const QImage& frame, int delayMs) {
    const QImage shown = atAnimationSize(frame);
    PreparedFrame f{keptFrame(shown), {}, {}, frameShape(shown),
                    std::max(kShortestDelayMs, delayMs)};
    if (f.picture.format() == QImage::Format_Indexed8) {
        // The frames are mostly black: packed, one keeps a few kilobytes of its 38.
        f.packedIndices = qCompress(f.picture.constBits(), int(f.picture.sizeInBytes()));
        f.packedIndices.squeeze();  // compressing leaves room for the whole frame
        f.colours = f.picture.colorTable();
        f.picture = QImage();
    }
    return f;
}

QImage BusyWindow::unpacked(const PreparedFrame& frame) {
    if (frame.packedIndices.isEmpty()) return frame.picture;
    QImage picture(kAnimationWidth, kAnimationHeight, QImage::Format_Indexed8);
    const QByteArray indices = qUncompress(frame.packedIndices);
    if (indices.size() != picture.sizeInBytes()) return QImage();
    std::memcpy(picture.bits(), indices.constData(), std::size_t(indices.size()));
    picture.setColorTable(frame.colours);
    return picture;
}

void BusyWindow::FormCreate(const QWidget& mainWindow) {
    setFixedSize(kClientWidth, kClientHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    WaitGif_->setObjectName("WaitGif");
    WaitGif_->setGeometry(0, 0, kAnimationWidth, kAnimationHeight);

    // Integer division truncates toward zero. The place is kept even when the main window moves.
    const QRect main = mainWindow.geometry();
    move(main.left() + (main.width() - kClientWidth) / 2,
         main.top() + (main.height() - kClientHeight) / 2 + kBelowCentre);

    animation_.setTimerType(Qt::PreciseTimer);
    animation_.setSingleShot(true);
    connect(&animation_, &QTimer::timeout, this, &BusyWindow::WaitGifTimer);
}

void BusyWindow::showFrame() {
    if (frames_.empty()) return;
    const PreparedFrame& f = frames_[size_t(frame_)];
    // Shown as kept, colour table and all: no full-colour copy of each frame.
    WaitGif_->setPixmap(QPixmap::fromImage(unpacked(f), Qt::NoFormatConversion));
    setMask(f.shape);
}

void BusyWindow::startAnimation() {
    if (!frames_.empty()) animation_.start(frames_[size_t(frame_)].delayMs);
}

void BusyWindow::WaitGifTimer() {
    if (frames_.empty()) return;
    frame_ = (frame_ + 1) % int(frames_.size());
    showFrame();
    // Each frame stays for its own delay; a hidden window does not turn.
    if (isVisible()) startAnimation();
}

void BusyWindow::Show() {
    ++shows_;
    prepareFrames();
    if (!isVisible()) {
        show();
        startAnimation();
    }
    raise();
}

void BusyWindow::Hide() {
    ++hides_;
    animation_.stop();
    hide();
}

}  // namespace kvr
