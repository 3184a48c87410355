#pragma once
// BusyWindow: the small borderless window whose animation turns over the main window while
// the mouse is being read or written.
#include <QBitmap>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

class QLabel;

namespace kvr {

struct AnimationFrame {
    QImage image;
    int delayMs = 50;
};

class BusyWindow : public QWidget {
    Q_OBJECT
public:
    // Where the animation's frames come from: asked once, when the window first shows, so a
    // program that never waits for the mouse never decodes them.
    using FrameSource = std::function<std::vector<AnimationFrame>()>;

    // Placed once, from the main window's geometry at creation.
    BusyWindow(const QWidget& mainWindow, FrameSource frames);

    // Shows the window, or brings it to the front again when it is already shown.
    void Show();
    void Hide();

    // One step of the animation; its timer runs while the window is shown, so the frames turn
    // whenever a transfer lets events through.
    void WaitGifTimer();
    const QTimer& animationTimer() const { return animation_; }
    int frameIndex() const { return frame_; }
    int showCount() const { return shows_; }
    int hideCount() const { return hides_; }

private:
    // A frame ready to show: its picture and the shape that leaves its black pixels out. A
    // picture with a colour table is kept packed, its indices compressed, and unpacked to show.
    struct PreparedFrame {
        QImage picture;
        QByteArray packedIndices;
        QList<QRgb> colours;
        QBitmap shape;
        int delayMs;
    };

    void FormCreate(const QWidget& mainWindow);
    void prepareFrames();
    void showFrame();
    static PreparedFrame prepared(const QImage& frame, int delayMs);
    static QImage unpacked(const PreparedFrame& frame);
    void startAnimation();

    QLabel* WaitGif_;
    FrameSource source_;
    std::vector<PreparedFrame> frames_;
    QTimer animation_;
    int frame_ = 0;
    int shows_ = 0;
    int hides_ = 0;
};

}  // namespace kvr
