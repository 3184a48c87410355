#pragma once
// The building blocks of the skinned window: a picture control that takes the size of its
// picture, and the transparent caption label that lies over it and takes clicks and hover.
#include <QLabel>
#include <QStringList>

namespace kvr {

// A picture control ("Img_" names): auto-sized to the picture it shows.
class SkinImage : public QLabel {
    Q_OBJECT
public:
    explicit SkinImage(const QString& name, QWidget* parent);
    void setPicture(const QPixmap& picture, const QString& pictureName);
    // The name of the skin picture shown now ("SetS_02"); tests read the state through it.
    QString pictureName() const { return pictureName_; }

signals:
    void pressed(QMouseEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString pictureName_;
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

signals:
    void clicked();
    void entered();
    void left();

protected:
    // A caption wider than its label shows its beginning, as the scrolling caption starts there.
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool hovered_ = false;
};

}  // namespace kvr
