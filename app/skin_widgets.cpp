#include "app/skin_widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace kvr {

SkinImage::SkinImage(const QString& name, QWidget* parent) : QLabel(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
}

void SkinImage::setPicture(const QPixmap& picture, const QString& pictureName) {
    pictureName_ = pictureName;
    setPixmap(picture);
    resize(picture.size());
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

}  // namespace kvr
