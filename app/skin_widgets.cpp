#include "app/skin_widgets.h"

#include <QMouseEvent>
#include <QPainter>

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

void CaptionLabel::paintEvent(QPaintEvent* event) {
    const QRect area = contentsRect();
    if (!pixmap().isNull() || fontMetrics().horizontalAdvance(text()) <= area.width()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   foregroundRole()));
    painter.drawText(area, int((alignment() & Qt::AlignVertical_Mask) | Qt::AlignLeft), text());
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and release of the left button inside the label.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void CaptionLabel::enterEvent(QEnterEvent* event) {
    emit entered();
    QLabel::enterEvent(event);
}

void CaptionLabel::leaveEvent(QEvent* event) {
    emit left();
    QLabel::leaveEvent(event);
}

}  // namespace kvr
