#pragma once
// TFormLoadingUI: the small borderless window whose animation turns over the main window while
// the mouse is being read or written.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <vector>

class QLabel;

namespace kvr {

struct AnimationFrame {
    QImage image;
    int delayMs = 50;
};

class TFormLoadingUI : public QWidget {
    Q_OBJECT
public:
    // Placed once, from the main window's geometry at creation.
    TFormLoadingUI(const QWidget& mainWindow, std::vector<AnimationFrame> frames);

    // Shows the window, or brings it to the front again when it is already shown.
    void Show();
    void Hide();

    int frameIndex() const { return frame_; }
    int showCount() const { return shows_; }
    int hideCount() const { return hides_; }

private:
    void FormCreate(const QWidget& mainWindow);
    void nextFrame();

    QLabel* WaitGif_;
    std::vector<AnimationFrame> frames_;
    QTimer animation_;
    int frame_ = 0;
    int shows_ = 0;
    int hides_ = 0;
};

}  // namespace kvr
