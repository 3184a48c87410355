// Backgrounds of the macro name dialog and the key combination dialog, and the highlight that
// their Confirm and Cancel labels show under the pointer. The dialogs take their shape from
// the see-through colour around the drawing; their captions come from the language tables.
#include <QLinearGradient>
#include <cmath>

#include "pictures.h"

namespace art {

namespace {

// Where the dialog pictures frame their controls (dialog coordinates).
constexpr QRectF kCloseBox{318, 8, 24, 22};
constexpr QSizeF kButtonPlate{110, 30};

void paintDialog(QPainter& p, QSizeF size, const QRectF& editWell, const QRectF& tickRow,
                 qreal buttonsTop) {
    const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
    const QPainterPath shape = chamferedRect(r, 16);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(30, 33, 40));
    fill.setColorAt(1, QColor(12, 13, 16));
    p.fillPath(shape, fill);

    // Title strip with the brand mark; the title label sits right of it.
    p.save();
    p.setClipPath(shape);
    QLinearGradient strip(0, 0, 0, 38);
    strip.setColorAt(0, QColor(46, 50, 60));
    strip.setColorAt(1, QColor(24, 26, 32));
    p.fillRect(QRectF(0, 0, size.width(), 38), strip);
    p.restore();
    QPainterPath seam;
    seam.moveTo(10, 38);
    seam.lineTo(size.width() - 10, 38);
    paintGlow(p, seam, ink::kCrimson, 5, 2);
    p.strokePath(seam, QPen(ink::kCrimson, 1.6));
    paintBrandEmblem(p, QPointF(26, 19), 11);

    // Close box: the label over it takes the click.
    p.fillPath(roundedRect(kCloseBox, 4), QColor(10, 11, 13));
    p.setPen(QPen(QColor(196, 200, 210), 1.8, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = kCloseBox.center();
    p.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
    p.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));

    paintInset(p, editWell, 4);
    if (!tickRow.isEmpty()) p.fillRect(tickRow, QColor(255, 255, 255, 10));

    const qreal gap = 12;
    const qreal left = std::floor((size.width() - 2 * kButtonPlate.width() - gap) / 2);
    for (int b = 0; b < 2; ++b) {
        const QRectF plate(left + b * (kButtonPlate.width() + gap), buttonsTop,
                           kButtonPlate.width(), kButtonPlate.height());
        const QPainterPath ps = chamferedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), 6);
        QLinearGradient pg(plate.topLeft(), plate.bottomLeft());
        pg.setColorAt(0, QColor(52, 56, 67));
        pg.setColorAt(1, QColor(22, 24, 29));
        p.fillPath(ps, pg);
        p.strokePath(ps, QPen(QColor(84, 90, 106), 1));
    }

    p.strokePath(shape, QPen(QColor(84, 90, 106), 1.5));
    QPainterPath bracket;
    bracket.moveTo(1.5, 50);
    bracket.lineTo(1.5, 16.5);
    bracket.lineTo(16.5, 1.5);
    bracket.lineTo(80, 1.5);
    p.strokePath(bracket, QPen(ink::kCrimson, 2.2));
}

QImage dialog(QSize size, const QRectF& editWell, const QRectF& tickRow, qreal buttonsTop) {
    QImage img = newCanvas(size.width(), size.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintDialog(p, size, editWell, tickRow, buttonsTop);
    return img;
}

QImage buttonHighlight() {
    QImage img = newCanvas(int(kButtonPlate.width()), int(kButtonPlate.height()));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, kButtonPlate.width() - 1, kButtonPlate.height() - 1);
    const QPainterPath ps = chamferedRect(r, 6);
    paintGlow(p, ps, withAlpha(ink::kCrimsonBright, 170), 3, 1.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(206, 24, 52));
    g.setColorAt(1, QColor(104, 10, 26));
    p.fillPath(ps, g);
    p.strokePath(ps, QPen(QColor(255, 110, 128), 1.2));
    return img;
}

}  // namespace

bool makeDialogs(PictureWriter& out) {
    return out.saveShaped(dialog({354, 179}, QRectF(24, 62, 306, 30), QRectF(), 124),
                          "NameDlgBack") &&
           out.saveShaped(dialog({355, 180}, QRectF(24, 50, 307, 30), QRectF(24, 88, 307, 24), 128),
                          "AssemblyDlgBack") &&
           out.save(buttonHighlight(), "DlgBtnHover");
}

}  // namespace art
