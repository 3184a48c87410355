#pragma once
// The building blocks of the skinned window: a picture control that takes the size of its
// picture, and the transparent caption label that lies over it and takes clicks and hover.
#include <QLabel>
#include <QMetaMethod>
#include <QStringList>
#include <functional>
#include <optional>

namespace kvr {

// A picture control ("Img_" names): auto-sized to the picture it shows.
class SkinImage : public QLabel {
    Q_OBJECT
public:
    explicit SkinImage(const QString& name, QWidget* parent);
    void setPicture(const QPixmap& picture, const QString& pictureName);
    // The same for a control not on screen yet: the picture is made when the control first
    // shows (its page opened), so the window starts without decoding pages nobody has seen.
    // It takes the picture's size at once, as the layout places controls by their pictures.
    void setPictureWhenShown(const QString& pictureName, QSize size,
                             std::function<std::optional<QPixmap>()> make);
    bool hasPicture() const { return pending_ || !pixmap().isNull(); }
    // The name of the skin picture shown now ("SetS_02"); tests read the state through it.
    QString pictureName() const { return pictureName_; }

signals:
    void pressed(QMouseEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QString pictureName_;
    std::function<std::optional<QPixmap>()> pending_;
};

// A caption label ("Btn_" names, key labels, option labels): transparent, clickable, hoverable.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    explicit CaptionLabel(const QString& name, QWidget* parent);

    // The lines the caption is drawn in: one when it fits the label; two, broken at a blank, when
    // it fits that way; none when it fits neither, and then it shows its beginning. A hovered
    // caption stays on one line, as the marquee scrolls it.
    QStringList captionLines() const;
    // Whether anything answers a click: a caption nobody listens to is text, not a control.
    bool takesClicks() const {
        return isSignalConnected(QMetaMethod::fromSignal(&CaptionLabel::clicked));
    }

signals:
    void clicked();
    void entered();
    void left();

protected:
    // A caption wider than its label shows its beginning, as the scrolling caption starts there.
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A caption that takes the keyboard focus is clicked with Space or Return.
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void paintCaption(QPaintEvent* event);

    bool hovered_ = false;
};

// The pointer's side of a ten-segment scale painted on a panel: a see-through area over the
// segments and the "-" and "+" signs at their ends. A press or drag over the segments picks the
// one under the pointer, a sign steps down or up, and the wheel steps too.
class ScaleTrack : public QWidget {
public:
    static constexpr int kSegments = 10;

    // `level` tells the level shown now (0 for none); `choose` takes a new one, 1..10.
    ScaleTrack(const QString& name, QWidget* parent, std::function<int()> level,
               std::function<void(int)> choose);

    // Spans the segments whose first one has this area, and the signs beside them.
    void place(const QRect& firstSegment);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The segment under x (1..10), or 0 on the "-" sign, 11 on the "+" sign.
    int segmentAt(int x) const;
    void step(int by);

    std::function<int()> level_;
    std::function<void(int)> choose_;
    int segmentWidth_ = 1;
    bool dragging_ = false;
    int wheelTurn_ = 0;
};

}  // namespace kvr
