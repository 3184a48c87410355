// The panel of the button page: the mouse seen from above, with a leader line from each of
// its buttons to the place where the layout puts that button's label.
#include <QLinearGradient>
#include <QRadialGradient>
#include <optional>

#include "layout_geometry.h"
#include "pictures.h"

namespace art {

namespace {

constexpr qreal kCentre = 230;  // the mouse's middle, in panel coordinates

struct MouseDesign {
    std::array<QRectF, 2> sideButtons;  // left flank, front one first
    std::optional<QRectF> flankButton;  // right flank
    bool cable = true;
};

QPainterPath bodyShape() {
    // Right half, then the left half with a wider thumb side.
    QPainterPath p;
    p.moveTo(kCentre, 24);
    p.cubicTo(kCentre + 32, 22, kCentre + 54, 34, kCentre + 64, 54);
    p.cubicTo(kCentre + 76, 78, kCentre + 82, 112, kCentre + 85, 150);
    p.cubicTo(kCentre + 88, 190, kCentre + 96, 220, kCentre + 92, 252);
    p.cubicTo(kCentre + 88, 310, kCentre + 52, 338, kCentre, 338);
    p.cubicTo(kCentre - 52, 338, kCentre - 94, 315, kCentre - 98, 252);
    p.cubicTo(kCentre - 102, 220, kCentre - 91, 190, kCentre - 87, 150);
    p.cubicTo(kCentre - 84, 112, kCentre - 76, 78, kCentre - 64, 54);
    p.cubicTo(kCentre - 54, 34, kCentre - 32, 22, kCentre, 24);
    p.closeSubpath();
    return p;
}

// The edge between the buttons and the palm rest.
QPainterPath aboveSplit() {
    QPainterPath p;
    p.moveTo(0, 0);
    p.lineTo(460, 0);
    p.lineTo(460, 150);
    p.quadTo(kCentre, 128, 0, 150);
    p.closeSubpath();
    return p;
}

void paintSideButton(QPainter& p, const QRectF& r) {
    QPainterPath b = roundedRect(r, r.width() / 2);
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, QColor(58, 63, 75));
    g.setColorAt(1, QColor(26, 28, 34));
    p.fillPath(b, g);
    p.strokePath(b, QPen(QColor(8, 8, 10), 1.5));
    p.fillRect(QRectF(r.left() + 2, r.top() + 6, 2, r.height() - 12),
               withAlpha(ink::kCrimson, 200));
}

void paintMouse(QPainter& p, const MouseDesign& d) {
    const QPainterPath body = bodyShape();

    if (d.cable) {
        QPainterPath cable;
        cable.moveTo(kCentre, 30);
        cable.cubicTo(kCentre, 14, kCentre + 10, 10, kCentre + 10, -2);
        p.strokePath(cable, QPen(QColor(10, 10, 12), 7, Qt::SolidLine, Qt::RoundCap));
        p.strokePath(cable, QPen(QColor(58, 62, 72), 4, Qt::SolidLine, Qt::RoundCap));
    }

    // Shadow under the mouse, then the shell.
    QImage shadow = newCanvas(p.device()->width(), p.device()->height());
    {
        QPainter sp(&shadow);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.fillPath(body.translated(4, 8), QColor(0, 0, 0, 220));
    }
    p.drawImage(0, 0, blurred(shadow, 14));
    paintGlow(p, body, withAlpha(ink::kCrimson, 90), 18, 4);

    for (const QRectF& s : d.sideButtons) paintSideButton(p, s);
    if (d.flankButton) paintSideButton(p, *d.flankButton);

    QLinearGradient shell(kCentre - 100, 0, kCentre + 100, 0);
    shell.setColorAt(0, QColor(30, 33, 40));
    shell.setColorAt(0.45, QColor(50, 54, 64));
    shell.setColorAt(1, QColor(22, 24, 29));
    p.fillPath(body, shell);

    // Palm rest: a darker insert with red light lines along its sides.
    const QPainterPath palm = body.subtracted(aboveSplit());
    QRadialGradient palmFill(QPointF(kCentre - 20, 200), 190);
    palmFill.setColorAt(0, QColor(40, 43, 52));
    palmFill.setColorAt(1, QColor(16, 17, 21));
    p.fillPath(palm, palmFill);
    for (int side : {-1, 1}) {
        QPainterPath strip;
        strip.moveTo(kCentre + side * 70, 168);
        strip.cubicTo(kCentre + side * 80, 220, kCentre + side * 76, 280, kCentre + side * 40, 318);
        paintGlow(p, strip, ink::kCrimson, 8, 4);
        p.strokePath(strip, QPen(ink::kCrimsonBright, 2, Qt::SolidLine, Qt::RoundCap));
    }
    // Emblem on the palm.
    QPolygonF hex;
    for (int k = 0; k < 6; ++k) {
        const qreal a = M_PI / 3 * k;
        hex << QPointF(kCentre + 16 * std::cos(a), 250 + 15 * std::sin(a));
    }
    QPainterPath emblem;
    emblem.addPolygon(hex);
    emblem.closeSubpath();
    paintGlow(p, emblem, ink::kCrimson, 8, 2);
    p.strokePath(emblem, QPen(ink::kCrimsonBright, 1.6));
    p.fillRect(QRectF(kCentre - 5, 246, 10, 8), withAlpha(ink::kCrimsonBright, 200));

    // The two main buttons, parted by the wheel's slot.
    const QPainterPath top = body.intersected(aboveSplit());
    for (int side : {-1, 1}) {
        QPainterPath half;
        half.addRect(side < 0 ? QRectF(0, 0, kCentre - 13, 200)
                              : QRectF(kCentre + 13, 0, 300, 200));
        const QPainterPath button = top.intersected(half);
        QLinearGradient g(0, 30, 0, 150);
        g.setColorAt(0, QColor(66, 71, 84));
        g.setColorAt(1, QColor(36, 39, 47));
        p.fillPath(button, g);
        // Light falls from the top left onto each button.
        QRadialGradient shine(QPointF(kCentre + side * 40 - 10, 60), 60);
        shine.setColorAt(0, QColor(255, 255, 255, 46));
        shine.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillPath(button, shine);
        p.strokePath(button, QPen(QColor(8, 8, 10), 2));
    }
    p.strokePath(body, QPen(QColor(6, 6, 8), 2));
    p.strokePath(body, QPen(QColor(255, 255, 255, 26), 1));

    // Wheel in its slot, lit red from below.
    const QRectF slot(kCentre - 10, 50, 20, 74);
    p.fillPath(roundedRect(slot, 8), QColor(6, 6, 8));
    const QRectF wheel(kCentre - 7, 58, 14, 50);
    paintGlow(p, roundedRect(wheel, 6), ink::kCrimson, 8);
    QLinearGradient wg(wheel.topLeft(), wheel.topRight());
    wg.setColorAt(0, QColor(30, 32, 38));
    wg.setColorAt(0.5, QColor(96, 100, 112));
    wg.setColorAt(1, QColor(30, 32, 38));
    p.fillPath(roundedRect(wheel, 6), wg);
    p.setPen(QPen(QColor(12, 12, 14), 1));
    for (qreal y = wheel.top() + 5; y < wheel.bottom() - 3; y += 4)
        p.drawLine(QPointF(wheel.left() + 2, y), QPointF(wheel.right() - 2, y));

    // Sensitivity button under the slot, with its two level lights.
    const QRectF dpi(kCentre - 8, 128, 16, 18);
    p.fillPath(roundedRect(dpi, 4), QColor(20, 22, 26));
    p.strokePath(roundedRect(dpi, 4), QPen(QColor(90, 96, 110), 1));
    p.fillRect(QRectF(kCentre - 4, 132, 8, 2), ink::kCrimsonBright);
    p.fillRect(QRectF(kCentre - 4, 138, 8, 2), withAlpha(ink::kCrimsonBright, 110));
}

// A leader from a mouse button to the edge of a label: dot on the button, then through the
// given bends to the label, ending under it.
void paintLeader(QPainter& p, QPointF button, std::initializer_list<QPointF> bends) {
    QPainterPath line;
    line.moveTo(button);
    for (QPointF b : bends) line.lineTo(b);
    p.strokePath(line, QPen(QColor(0, 0, 0, 160), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(line,
                 QPen(QColor(214, 218, 226), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath dot;
    dot.addEllipse(button, 4.5, 4.5);
    paintGlow(p, dot, ink::kCrimsonBright, 8);
    p.setPen(QPen(QColor(8, 8, 10), 1.2));
    p.setBrush(ink::kCrimson);
    p.drawEllipse(button, 4.5, 4.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 224));
    p.drawEllipse(button, 1.6, 1.6);
}

// A bridge where one leader crosses another.
void paintHop(QPainter& p, QPointF at) {
    p.fillRect(QRectF(at.x() - 3, at.y() - 4, 6, 8), QColor(20, 22, 27));
}

QImage mousePanel(int layout) {
    const LayoutGeometry g = layoutGeometry(layout);
    QImage img = newCanvas(kPanelSizes[0].width(), kPanelSizes[0].height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paintPanelFrame(p, QRectF(0, 0, img.width(), img.height()));

    // Label edges in panel coordinates: the right edge of a label left of the mouse, the left
    // edge of one right of it, at the label's middle height.
    const QPointF origin = g.panels[0];
    auto edge = [&](int key) {
        const QPoint at = *g.keyLabels[std::size_t(key - 1)];
        const bool leftSide = at.x() + kKeyLabelSize.width() / 2 < origin.x() + kCentre;
        const qreal x = leftSide ? at.x() + kKeyLabelSize.width() - 3 : at.x() + 3;
        return QPointF(x, at.y() + kKeyLabelSize.height() / 2.0) - origin;
    };

    if (layout == 3) {
        MouseDesign d{{QRectF(kCentre - 97, 134, 12, 32), QRectF(kCentre - 99, 188, 12, 32)},
                      QRectF(kCentre + 84, 160, 12, 32),
                      true};
        paintMouse(p, d);
        const QPointF k3 = edge(3);
        paintLeader(p, {kCentre + 48, 76}, {{kCentre + 28, 12}, {118, 12}, {118, k3.y()}, k3});
        paintHop(p, {118, edge(1).y()});
        paintLeader(p, {kCentre - 52, 78}, {{132, edge(1).y()}, edge(1)});
        paintLeader(p, {kCentre - 92, 150}, {{126, edge(4).y()}, edge(4)});
        paintLeader(p, {kCentre - 94, 204}, {{126, edge(5).y()}, edge(5)});
        paintLeader(p, {kCentre + 1, 86}, {{336, edge(2).y()}, edge(2)});
        paintLeader(p, {kCentre + 1, 137}, {{340, edge(6).y()}, edge(6)});
        paintLeader(p, {kCentre + 90, 176}, {{344, edge(7).y()}, edge(7)});
    } else {
        MouseDesign d{{QRectF(kCentre - 95, 112, 12, 34), QRectF(kCentre - 97, 160, 12, 34)},
                      std::nullopt,
                      true};
        paintMouse(p, d);
        paintLeader(p, {kCentre - 52, 74}, {{124, edge(1).y()}, edge(1)});
        paintLeader(p, {kCentre - 89, 129}, {{120, edge(5).y()}, edge(5)});
        paintLeader(p, {kCentre - 91, 177}, {{120, edge(4).y()}, edge(4)});
        paintLeader(p, {kCentre + 52, 74}, {{338, edge(3).y()}, edge(3)});
        paintLeader(p, {kCentre + 1, 86}, {{318, edge(2).y()}, edge(2)});
        paintLeader(p, {kCentre + 1, 137}, {{318, edge(6).y()}, edge(6)});
    }
    return img;
}

}  // namespace

bool makeMousePanels(PictureWriter& out) {
    return out.save(mousePanel(1), "L1_Back1") && out.copy("L1_Back1", "L2_Back1") &&
           out.save(mousePanel(3), "L3_Back1");
}

}  // namespace art
