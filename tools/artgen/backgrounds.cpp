// The window backgrounds: header with the product name and the sockets of the round buttons,
// the well the page panels sit in, and the dock of the page and language buttons.
#include <QFontMetrics>
#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

#include "layout_geometry.h"
#include "pictures.h"

namespace art {

namespace {

constexpr qreal kHeaderBottom = 114;
constexpr QRectF kWell{8, 126, 784, 360};

QPainterPath bodyOutline() {
    // Shoulders at the top and cut corners; everything outside is see-through.
    QPainterPath p;
    p.moveTo(0, 34);
    p.lineTo(26, 8);
    p.lineTo(204, 8);
    p.lineTo(216, 0);
    p.lineTo(584, 0);
    p.lineTo(596, 8);
    p.lineTo(774, 8);
    p.lineTo(800, 34);
    p.lineTo(800, 542);
    p.lineTo(774, 568);
    p.lineTo(26, 568);
    p.lineTo(0, 542);
    p.closeSubpath();
    return p;
}

void paintHexPattern(QPainter& p, const QRectF& area, qreal radius, const QColor& colour) {
    const qreal w = std::sqrt(3.0) * radius;
    const qreal rowStep = 1.5 * radius;
    p.save();
    p.setPen(QPen(colour, 1));
    p.setBrush(Qt::NoBrush);
    int row = 0;
    for (qreal y = area.top() - radius; y < area.bottom() + radius; y += rowStep, ++row) {
        const qreal offset = (row % 2) ? w / 2 : 0;
        for (qreal x = area.left() - w + offset; x < area.right() + w; x += w) {
            QPolygonF hex;
            for (int k = 0; k < 6; ++k) {
                const qreal a = M_PI / 180.0 * (60 * k - 90);
                hex << QPointF(x + radius * std::cos(a), y + radius * std::sin(a));
            }
            p.drawPolygon(hex);
        }
    }
    p.restore();
}

void paintHeader(QPainter& p, int layout) {
    QPainterPath header;
    header.addRect(QRectF(0, 0, 800, kHeaderBottom));
    QLinearGradient g(0, 0, 0, kHeaderBottom);
    g.setColorAt(0, QColor(34, 37, 45));
    g.setColorAt(1, QColor(18, 20, 24));
    p.fillPath(header, g);

    // The raised middle of the top edge carries a thin red seam.
    QPainterPath crown;
    crown.moveTo(216, 0);
    crown.lineTo(584, 0);
    crown.lineTo(568, 14);
    crown.lineTo(232, 14);
    crown.closeSubpath();
    p.fillPath(crown, QColor(44, 48, 58));
    QPainterPath seam;
    seam.moveTo(236, 14);
    seam.lineTo(564, 14);
    paintGlow(p, seam, ink::kCrimson, 6, 2);
    p.strokePath(seam, QPen(ink::kCrimsonBright, 1.2));

    paintBrandEmblem(p, QPointF(62, 62), 30);

    if (layout == 3) {
        paintText(p, QRectF(106, 34, 440, 46), Qt::AlignLeft | Qt::AlignVCenter, "GAMING MOUSE",
                  displayFont(36), ink::kText);
    } else {
        const QFont big = displayFont(42);
        const QFontMetrics fm(big);
        const QRectF box(104, 30, 440, 50);
        paintText(p, box, Qt::AlignLeft | Qt::AlignVCenter, "KVR", big, ink::kText);
        const QRectF digits = box.translated(fm.horizontalAdvance("KVR") + 2, 0);
        QPainterPath glowText;
        glowText.addText(digits.left(), digits.top() + 25 + fm.ascent() / 2.0 - 4, big, "5507");
        paintGlow(p, glowText, withAlpha(ink::kCrimson, 170), 10);
        paintText(p, digits, Qt::AlignLeft | Qt::AlignVCenter, "5507", big, ink::kCrimsonBright);
    }
    QFont sub = headingFont(12);
    sub.setLetterSpacing(QFont::AbsoluteSpacing, 5);
    paintText(p, QRectF(107, 80, 300, 18), Qt::AlignLeft | Qt::AlignVCenter,
              layout == 3 ? "CONFIGURATION" : "GAMING MOUSE", sub, ink::kMuted);

    // A hairline from the name towards the round buttons.
    p.setPen(QPen(QColor(64, 70, 84), 1));
    p.drawLine(QPointF(300, 89.5), QPointF(560, 89.5));
    p.fillRect(QRectF(520, 88, 40, 3), ink::kCrimson);

    // The pod of the four round buttons.
    const QRectF pod(580, 40, 214, 62);
    QPainterPath podShape = roundedRect(pod, 31);
    QLinearGradient pg(pod.topLeft(), pod.bottomLeft());
    pg.setColorAt(0, QColor(10, 11, 13));
    pg.setColorAt(1, QColor(26, 28, 34));
    p.fillPath(podShape, pg);
    p.strokePath(podShape, QPen(QColor(62, 68, 81), 1));
    for (int i = 0; i < 4; ++i) {
        const QPointF c(614 + 50 * i, 70.5);
        QRadialGradient sg(c, 25);
        sg.setColorAt(0, QColor(2, 2, 3));
        sg.setColorAt(0.8, QColor(8, 9, 11));
        sg.setColorAt(1, QColor(30, 33, 40));
        p.setPen(Qt::NoPen);
        p.setBrush(sg);
        p.drawEllipse(c, 24.5, 24.5);
    }

    // The red line under the header, dipping in the middle.
    QPainterPath line;
    line.moveTo(16, kHeaderBottom);
    line.lineTo(250, kHeaderBottom);
    line.lineTo(262, kHeaderBottom + 6);
    line.lineTo(538, kHeaderBottom + 6);
    line.lineTo(550, kHeaderBottom);
    line.lineTo(784, kHeaderBottom);
    paintGlow(p, line, ink::kCrimson, 8, 3);
    p.strokePath(line, QPen(ink::kCrimson, 2));
    QPainterPath hot;
    hot.moveTo(330, kHeaderBottom + 6);
    hot.lineTo(470, kHeaderBottom + 6);
    p.strokePath(hot, QPen(ink::kCrimsonBright, 2));
}

void paintWell(QPainter& p) {
    const QPainterPath well = chamferedRect(kWell, 12);
    QLinearGradient g(kWell.topLeft(), kWell.bottomLeft());
    g.setColorAt(0, QColor(8, 9, 11));
    g.setColorAt(1, QColor(13, 14, 17));
    p.fillPath(well, g);
    p.save();
    p.setClipPath(well);
    paintHexPattern(p, kWell, 16, QColor(255, 255, 255, 9));
    QRadialGradient glow(QPointF(400, 300), 430);
    glow.setColorAt(0, withAlpha(ink::kCrimson, 30));
    glow.setColorAt(1, withAlpha(ink::kCrimson, 0));
    p.fillPath(well, glow);
    QLinearGradient shade(kWell.topLeft(), kWell.topLeft() + QPointF(0, 18));
    shade.setColorAt(0, QColor(0, 0, 0, 150));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(kWell, shade);
    p.restore();
    p.strokePath(well, QPen(QColor(44, 48, 58), 1));
    QPainterPath lip;
    lip.moveTo(kWell.left() + 12, kWell.bottom() + 1.5);
    lip.lineTo(kWell.right() - 12, kWell.bottom() + 1.5);
    p.strokePath(lip, QPen(QColor(255, 255, 255, 20), 1));
}

// Slanted stripes that fade towards `fadeTo`; fills empty places of the dock.
void paintStripes(QPainter& p, const QRectF& area, bool fadeRight) {
    p.save();
    p.setClipRect(area);
    for (qreal x = area.left() - area.height(); x < area.right(); x += 10) {
        const qreal t = std::clamp((x + area.height() / 2 - area.left()) / area.width(), 0.0, 1.0);
        const int alpha = int(110 * (fadeRight ? 1 - t : t)) + 12;
        QPainterPath s = slantedPlate(QRectF(x, area.top(), 5 + area.height() * 0.5, area.height()),
                                      area.height() * 0.5);
        p.fillPath(s, withAlpha(ink::kCrimson, alpha));
    }
    p.restore();
}

void paintDock(QPainter& p, const LayoutGeometry& g) {
    QPainterPath divider;
    divider.moveTo(20, 490.5);
    divider.lineTo(780, 490.5);
    p.strokePath(divider, QPen(QColor(50, 55, 66), 1));

    auto socket = [&](QPoint at) {
        const QRectF r(at.x() - 2, at.y() - 2, kPageButtonSize.width() + 4,
                       kPageButtonSize.height() + 4);
        QPainterPath s = slantedPlate(r, kPageButtonSlant + 1);
        p.fillPath(s, QColor(3, 3, 4));
        p.strokePath(s, QPen(QColor(255, 255, 255, 16), 1));
    };
    for (QPoint b : g.pageButtons) socket(b);
    for (QPoint b : g.languageButtons) socket(b);

    // The seat of the web button, which draws its badge in the upper 72 rows of its picture.
    const QRectF seat(g.web.x() - 6, g.web.y() - 4, kWebButtonSize.width() + 12, 77);
    QPainterPath seatShape = chamferedRect(seat, 16);
    p.fillPath(seatShape, QColor(5, 5, 7));
    paintGlow(p, seatShape, withAlpha(ink::kCrimson, 120), 6, 1.5);
    p.strokePath(seatShape, QPen(QColor(70, 20, 30), 1));

    paintStripes(p, QRectF(156, 503, 146, 18), false);
    if (g.languageButtons.size() < 3) paintStripes(p, QRectF(244, 536, 58, 18), false);
    paintStripes(p, QRectF(686, 536, 84, 18), true);
}

QImage background(int layout) {
    const LayoutGeometry g = layoutGeometry(layout);
    QImage img = newCanvas(kBackgroundSize.width(), kBackgroundSize.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QPainterPath body = bodyOutline();
    QLinearGradient base(0, 0, 0, 568);
    base.setColorAt(0, QColor(26, 28, 34));
    base.setColorAt(0.25, QColor(18, 20, 24));
    base.setColorAt(1, QColor(11, 12, 14));
    p.fillPath(body, base);

    p.save();
    p.setClipPath(body);
    paintHeader(p, layout);
    paintWell(p);
    paintDock(p, g);
    p.restore();

    p.strokePath(body, QPen(QColor(74, 80, 95), 2));
    p.strokePath(bodyOutline().translated(0, 0), QPen(QColor(0, 0, 0, 160), 0.8));
    return img;
}

}  // namespace

bool makeBackgrounds(PictureWriter& out) {
    return out.saveShaped(background(1), "L1_BackGround") &&
           out.copy("L1_BackGround", "L2_BackGround") &&
           out.saveShaped(background(3), "L3_BackGround");
}

}  // namespace art
