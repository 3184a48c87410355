#include "gui/skin_widgets.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

namespace kvr {

SkinImage::SkinImage(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SkinImage::setPicture(const QPixmap& picture, const QString& pictureName) {
    pending_ = nullptr;
    pictureName_ = pictureName;
    setPixmap(picture);
    resize(picture.size());
}

void SkinImage::setPictureWhenShown(const QString& pictureName, QSize size,
                                    std::function<std::optional<QPixmap>()> make) {
    pictureName_ = pictureName;
    pending_ = std::move(make);
    resize(size);
}

void SkinImage::showEvent(QShowEvent* event) {
    if (pending_) {
        const auto make = std::exchange(pending_, nullptr);
        if (std::optional<QPixmap> picture = make()) {
            setPixmap(*picture);
            resize(picture->size());
        }
    }
    QLabel::showEvent(event);
}

void SkinImage::mousePressEvent(QMouseEvent* event) {
    emit pressed(event);
    QLabel::mousePressEvent(event);
}

CaptionLabel::CaptionLabel(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_Hover);
}

QStringList CaptionLabel::captionLines() const {
    const QString caption = text();
    const QFontMetrics metrics = fontMetrics();
    const QRect area = contentsRect();
    auto fits = [&](const QString& line) {
        return metrics.horizontalAdvance(line) <= area.width();
    };
    if (fits(caption)) return {caption};
    if ((hovered_ && isEnabled()) || 2 * metrics.height() > area.height()) return {};

    // Of the breaks that fit, the one whose longer line is shortest.
    QStringList best;
    int bestWidth = area.width() + 1;
    for (qsizetype at = caption.indexOf(' '); at >= 0; at = caption.indexOf(' ', at + 1)) {
        const QString first = caption.left(at).trimmed(), second = caption.mid(at + 1).trimmed();
        if (first.isEmpty() || second.isEmpty() || !fits(first) || !fits(second)) continue;
        const int width =
            std::max(metrics.horizontalAdvance(first), metrics.horizontalAdvance(second));
        if (width < bestWidth) {
            bestWidth = width;
            best = {first, second};
        }
    }
    return best;
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
    paintCaption(event);
    if (hasFocus()) {
        QPainter painter(this);
        QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CaptionLabel::paintCaption(QPaintEvent* event) {
    const QStringList lines = pixmap().isNull() ? captionLines() : QStringList{};
    if (!pixmap().isNull() || lines.size() == 1) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    if (lines.size() == 2) {
        painter.drawText(contentsRect(), int(alignment()), lines.join('\n'));
        return;
    }
    painter.drawText(contentsRect(), int((alignment() & Qt::AlignVertical_Mask) | Qt::AlignLeft),
                     text());
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and release of the left button inside the label.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void CaptionLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (focusPolicy() & Qt::TabFocus &&
        (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void CaptionLabel::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    emit entered();
    QLabel::enterEvent(event);
}

void CaptionLabel::leaveEvent(QEvent* event) {
    hovered_ = false;
    emit left();
    QLabel::leaveEvent(event);
}

namespace {
// The signs are painted this far beyond each end of the segments; the area reaches a little above
// them and down over the segments' captions.
constexpr int kSignWidth = 26;
constexpr int kTrackAbove = 8;
constexpr int kTrackBelow = 16;
}  // namespace

ScaleTrack::ScaleTrack(const QString& name, QWidget* parent, std::function<int()> level,
                       std::function<void(int)> choose)
    : QWidget(parent), level_(std::move(level)), choose_(std::move(choose)) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
}

void ScaleTrack::place(const QRect& firstSegment) {
    segmentWidth_ = std::max(1, firstSegment.width());
    setGeometry(firstSegment.left() - kSignWidth, firstSegment.top() - kTrackAbove,
                kSegments * segmentWidth_ + 2 * kSignWidth,
                kTrackAbove + firstSegment.height() + kTrackBelow);
}

int ScaleTrack::segmentAt(int x) const {
    if (x < kSignWidth) return 0;
    const int segment = (x - kSignWidth) / segmentWidth_ + 1;
    return std::min(segment, kSegments + 1);
}

void ScaleTrack::step(int by) {
    choose_(std::clamp(level_() + by, 1, kSegments));
}

void ScaleTrack::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const int segment = segmentAt(event->position().toPoint().x());
    if (segment == 0) {
        step(-1);
    } else if (segment > kSegments) {
        step(+1);
    } else {
        dragging_ = true;
        choose_(segment);
    }
}

void ScaleTrack::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
    const int x = event->position().toPoint().x();
    choose_(std::clamp(segmentAt(x), 1, kSegments));
}

void ScaleTrack::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

void ScaleTrack::wheelEvent(QWheelEvent* event) {
    // Fine-grained wheels send parts of a notch; a whole notch moves one level.
    wheelTurn_ += event->angleDelta().y();
    while (wheelTurn_ >= 120) {
        step(+1);
        wheelTurn_ -= 120;
    }
    while (wheelTurn_ <= -120) {
        step(-1);
        wheelTurn_ += 120;
    }
    event->accept();
}

}  // namespace kvr
