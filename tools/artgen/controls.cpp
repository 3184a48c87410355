// Buttons in their states, scale segments, tick boxes, option marks, the insert group's
// backgrounds, the macro list's row icons and the application icon.
#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>
#include <functional>

#include "layout_geometry.h"
#include "pictures.h"

namespace art {

namespace {

enum class State { Normal, Hover, Pressed, Selected };

QImage draw(QSize size, const std::function<void(QPainter&)>& paint) {
    QImage img = newCanvas(size.width(), size.height());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return img;
}

QLinearGradient vertical(const QRectF& r, QColor top, QColor bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// The face shared by the flat buttons: graphite when normal, red rim and halo on hover, red
// and sunken when pressed or selected.
void paintPlate(QPainter& p, const QPainterPath& shape, const QRectF& r, State s) {
    switch (s) {
        case State::Normal:
            p.fillPath(shape, vertical(r, QColor(48, 52, 63), QColor(20, 22, 27)));
            p.strokePath(shape, QPen(QColor(84, 90, 106), 1));
            break;
        case State::Hover:
            // A tight halo: the pictures are hardly larger than the plates.
            paintGlow(p, shape, withAlpha(ink::kCrimsonBright, 170), 3, 1.5);
            p.fillPath(shape, vertical(r, QColor(66, 70, 84), QColor(30, 32, 39)));
            p.strokePath(shape, QPen(ink::kCrimsonBright, 1.5));
            break;
        case State::Pressed:
        case State::Selected:
            p.fillPath(shape, vertical(r, QColor(206, 24, 52), QColor(104, 10, 26)));
            p.strokePath(shape, QPen(QColor(255, 110, 128), 1.2));
            break;
    }
    // A gloss line just inside the top edge.
    p.save();
    p.setClipPath(shape);
    const int gloss = s == State::Pressed ? 10 : 34;
    p.fillRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.45),
               vertical(r, QColor(255, 255, 255, gloss), QColor(255, 255, 255, 0)));
    p.restore();
}

QImage roundButton(State s) {
    return draw(kRoundButtonSize, [s](QPainter& p) {
        const QPointF c(24, 21.5);
        if (s == State::Hover) {
            // Kept tight: the halo must fade before the picture's top and bottom edges.
            QPainterPath halo;
            halo.addEllipse(c, 18.5, 18.5);
            paintGlow(p, halo, ink::kCrimsonBright, 3, 2.5);
        }
        p.setPen(Qt::NoPen);
        QLinearGradient bezel(0, 1, 0, 42);
        bezel.setColorAt(0, QColor(104, 110, 126));
        bezel.setColorAt(0.5, QColor(38, 41, 49));
        bezel.setColorAt(1, QColor(16, 17, 20));
        p.setBrush(bezel);
        p.drawEllipse(c, 20, 20);

        QRadialGradient face(c + QPointF(-6, -8), 24);
        if (s == State::Pressed) {
            face.setColorAt(0, QColor(150, 16, 38));
            face.setColorAt(1, QColor(52, 6, 14));
        } else if (s == State::Hover) {
            face.setColorAt(0, QColor(66, 70, 84));
            face.setColorAt(1, QColor(22, 24, 29));
        } else {
            face.setColorAt(0, QColor(50, 54, 64));
            face.setColorAt(1, QColor(14, 15, 18));
        }
        p.setBrush(face);
        p.drawEllipse(c, 16.5, 16.5);

        const QColor ring =
            s == State::Normal ? withAlpha(ink::kCrimson, 170) : ink::kCrimsonBright;
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ring, s == State::Normal ? 1.4 : 2));
        p.drawEllipse(c, 18, 18);
        if (s != State::Pressed) {
            p.setPen(Qt::NoPen);
            p.setBrush(vertical(QRectF(10, 6, 28, 14), QColor(255, 255, 255, 40),
                                QColor(255, 255, 255, 0)));
            p.drawEllipse(QRectF(12, 7, 24, 13));
        }
    });
}

QImage pageButton(State s) {
    return draw(kPageButtonSize, [s](QPainter& p) {
        const QRectF r(0.5, 0.5, 89, 29);
        const QPainterPath shape = slantedPlate(r, kPageButtonSlant);
        paintPlate(p, shape, r, s);
        if (s == State::Normal) {
            // Red foot on the left, the side the slant leans away from.
            p.setPen(QPen(ink::kCrimson, 2));
            p.drawLine(QPointF(3, 28), QPointF(26, 28));
        }
    });
}

QImage keyLabel(State s) {
    return draw(kKeyLabelSize, [s](QPainter& p) {
        const QRectF r(0.5, 0.5, 134, 26);
        const QPainterPath shape = chamferedRect(r, 7);
        if (s == State::Hover) {
            paintGlow(p, shape, withAlpha(ink::kCrimsonBright, 170), 3, 1.5);
            p.fillPath(shape, vertical(r, QColor(96, 18, 34), QColor(44, 8, 16)));
            p.strokePath(shape, QPen(ink::kCrimsonBright, 1.5));
        } else {
            p.fillPath(shape, vertical(r, QColor(42, 46, 56), QColor(17, 18, 22)));
            p.strokePath(shape, QPen(QColor(84, 90, 106), 1));
        }
        // Red ends where the leader lines arrive.
        for (qreal x : {3.0, 129.0}) p.fillRect(QRectF(x, 8, 3, 11), ink::kCrimson);
    });
}

void paintGlobe(QPainter& p, QPointF c, qreal r, QColor colour) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(colour, 1.4));
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    for (qreal k : {-0.55, 0.55}) {
        const qreal y = c.y() + k * r;
        const qreal half = r * std::sqrt(1 - k * k);
        p.drawLine(QPointF(c.x() - half, y), QPointF(c.x() + half, y));
    }
}

QImage webButton(State s) {
    return draw(kWebButtonSize, [s](QPainter& p) {
        // The badge fills the upper 72 rows; the rest stays clear below the window's edge.
        const QRectF r(5, 3, 168, 64);
        const QPainterPath shape = chamferedRect(r, 18);
        paintPlate(p, shape, r, s == State::Pressed ? State::Pressed : s);
        const QColor mark = s == State::Normal  ? QColor(206, 210, 220)
                            : s == State::Hover ? ink::kCrimsonBright
                                                : QColor(255, 255, 255);
        paintGlobe(p, QPointF(89, 35), 18, mark);
        // Chevrons either side of the globe.
        p.setPen(QPen(s == State::Normal ? ink::kCrimson : mark, 2.5, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        for (int side : {-1, 1}) {
            for (int k = 0; k < 2; ++k) {
                const qreal x = 89 + side * (38 + 9 * k);
                QPolygonF chevron;
                chevron << QPointF(x - side * 4, 28) << QPointF(x + side * 2, 35)
                        << QPointF(x - side * 4, 42);
                p.drawPolyline(chevron);
            }
        }
    });
}

QImage segment(QSize size, bool lit) {
    return draw(size, [size, lit](QPainter& p) {
        const QRectF r(1, 0.5, size.width() - 3, 6);
        const QPainterPath shape = slantedPlate(r, 3);
        if (lit) {
            p.fillPath(shape, vertical(r, QColor(255, 84, 104), QColor(178, 14, 38)));
            p.setPen(QPen(QColor(255, 196, 204), 1));
            p.drawLine(QPointF(r.left() + 4, 1), QPointF(r.right() - 1, 1));
        } else {
            p.fillPath(shape, vertical(r, QColor(58, 63, 75), QColor(32, 35, 42)));
            p.setPen(QPen(QColor(255, 255, 255, 30), 1));
            p.drawLine(QPointF(r.left() + 4, 1), QPointF(r.right() - 1, 1));
        }
    });
}

QImage tickBox(bool ticked) {
    return draw({18, 19}, [ticked](QPainter& p) {
        const QRectF r(1.5, 2.5, 15, 15);
        const QPainterPath box = roundedRect(r, 3);
        if (ticked) {
            p.fillPath(box, vertical(r, QColor(236, 40, 66), QColor(140, 12, 32)));
            p.strokePath(box, QPen(QColor(255, 128, 144), 1));
            QPainterPath tick;
            tick.moveTo(5, 10);
            tick.lineTo(8, 13.5);
            tick.lineTo(13.5, 6);
            p.strokePath(tick, QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        } else {
            p.fillPath(box, vertical(r, QColor(6, 6, 8), QColor(20, 22, 27)));
            p.strokePath(box, QPen(QColor(110, 116, 132), 1));
        }
    });
}

QImage optionMark(bool on) {
    return draw(kRadioSize, [on](QPainter& p) {
        const QPointF c(8, 8);
        p.setPen(QPen(on ? ink::kCrimsonBright : QColor(110, 116, 132), 1.4));
        p.setBrush(QColor(8, 8, 10));
        p.drawEllipse(c, 6.8, 6.8);
        if (on) {
            QPainterPath dot;
            dot.addEllipse(c, 3.6, 3.6);
            paintGlow(p, dot, ink::kCrimsonBright, 4);
            QRadialGradient g(c - QPointF(1, 1), 4);
            g.setColorAt(0, QColor(255, 190, 198));
            g.setColorAt(1, ink::kCrimson);
            p.fillPath(dot, g);
        }
    });
}

QImage macroButton(QSize size, State s) {
    return draw(size, [size, s](QPainter& p) {
        const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
        paintPlate(p, chamferedRect(r, 5), r, s);
    });
}

// The insert group's background; the key variant frames the record and option rows, the delay
// variant the delay row.
QImage insertBase(bool keys) {
    return draw({207, 162}, [keys](QPainter& p) {
        const QRectF r(0.5, 0.5, 206, 161);
        const QPainterPath shape = chamferedRect(r, 10);
        p.fillPath(shape, vertical(r, QColor(30, 33, 40), QColor(13, 14, 17)));
        p.strokePath(shape, QPen(QColor(76, 82, 97), 1));
        QPainterPath bracket;
        bracket.moveTo(1, 34);
        bracket.lineTo(1, 10.5);
        bracket.lineTo(10.5, 1);
        bracket.lineTo(46, 1);
        p.strokePath(bracket, QPen(ink::kCrimson, 2));

        // Header: an insert mark beside the choice list.
        p.fillRect(QRectF(4, 29, 199, 1), QColor(255, 255, 255, 18));
        QPainterPath plus;
        plus.addEllipse(QPointF(34, 15), 9, 9);
        paintGlow(p, plus, withAlpha(ink::kCrimson, 160), 5, 1.5);
        p.setPen(QPen(ink::kCrimsonBright, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(34, 15), 9, 9);
        p.drawLine(QPointF(29, 15), QPointF(39, 15));
        p.drawLine(QPointF(34, 10), QPointF(34, 20));
        paintInset(p, QRectF(65, 2, 139, 25), 3);

        if (keys) {
            for (int row = 0; row < 3; ++row) {
                const qreal y = 32 + 23 * row;
                p.fillRect(QRectF(8, y, 191, 20), QColor(255, 255, 255, row % 2 ? 6 : 12));
            }
            paintInset(p, QRectF(106, 97, 96, 58), 5);
        } else {
            p.fillRect(QRectF(8, 49, 191, 28), QColor(255, 255, 255, 10));
            // A small clock left of the delay caption.
            p.setPen(QPen(QColor(170, 176, 190), 1.5));
            p.drawEllipse(QPointF(32, 63), 9, 9);
            p.setPen(QPen(ink::kCrimsonBright, 1.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(32, 63), QPointF(32, 57));
            p.drawLine(QPointF(32, 63), QPointF(36, 65));
            paintInset(p, QRectF(106, 122, 96, 33), 5);
        }
    });
}

// Row icons of the macro event list: delay, press, release.
QImage delayIcon() {
    return draw({24, 24}, [](QPainter& p) {
        p.setPen(QPen(QColor(206, 210, 220), 1.8));
        p.setBrush(QColor(20, 22, 27));
        p.drawEllipse(QPointF(12, 12.5), 9, 9);
        p.setPen(QPen(QColor(206, 210, 220), 1));
        for (int k = 0; k < 12; k += 3) {
            const qreal a = M_PI / 6 * k;
            p.drawLine(QPointF(12 + 7 * std::cos(a), 12.5 + 7 * std::sin(a)),
                       QPointF(12 + 8.4 * std::cos(a), 12.5 + 8.4 * std::sin(a)));
        }
        p.setPen(QPen(ink::kCrimsonBright, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 12.5), QPointF(12, 6.5));
        p.drawLine(QPointF(12, 12.5), QPointF(16.5, 14.5));
    });
}

QImage keyIcon(bool press) {
    return draw({24, 24}, [press](QPainter& p) {
        // A key cap, with an arrow pushing into it or lifting away from it.
        const QRectF cap(4.5, 13.5, 15, 8);
        p.setPen(QPen(QColor(150, 156, 170), 1));
        p.setBrush(vertical(cap, QColor(70, 75, 88), QColor(30, 32, 39)));
        p.drawRoundedRect(cap, 2, 2);
        const QColor arrow = press ? ink::kCrimsonBright : QColor(226, 230, 236);
        QPainterPath a;
        if (press) {
            a.moveTo(12, 2);
            a.lineTo(12, 10);
            a.moveTo(8, 6.5);
            a.lineTo(12, 10.5);
            a.lineTo(16, 6.5);
        } else {
            a.moveTo(12, 11);
            a.lineTo(12, 2.5);
            a.moveTo(8, 6);
            a.lineTo(12, 2);
            a.lineTo(16, 6);
        }
        p.strokePath(a, QPen(arrow, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    });
}

QImage appIcon(int size) {
    return draw({size, size}, [size](QPainter& p) {
        const qreal s = size / 64.0;
        const QRectF r(1 * s, 1 * s, 62 * s, 62 * s);
        const QPainterPath tile = roundedRect(r, 12 * s);
        p.fillPath(tile, vertical(r, QColor(40, 44, 53), QColor(10, 11, 13)));
        p.strokePath(tile, QPen(QColor(90, 96, 112), std::max(1.0, s)));
        paintBrandEmblem(p, QPointF(32 * s, 32 * s), 24 * s);
    });
}

}  // namespace

bool makeControls(PictureWriter& out) {
    const std::pair<QImage, QString> pictures[] = {
        {roundButton(State::Normal), "BtnS_01"},
        {roundButton(State::Hover), "BtnS_02"},
        {roundButton(State::Pressed), "BtnS_03"},
        {pageButton(State::Normal), "SetS_01"},
        {pageButton(State::Selected), "SetS_02"},
        {pageButton(State::Hover), "SetS_03"},
        {keyLabel(State::Normal), "KeyS_01"},
        {keyLabel(State::Hover), "KeyS_02"},
        {webButton(State::Normal), "WebS_01"},
        {webButton(State::Pressed), "WebS_02"},
        {webButton(State::Hover), "WebS_03"},
        {segment({24, 7}, false), "Bar1_D"},
        {segment({24, 7}, true), "Bar1_E"},
        {segment({19, 7}, false), "Bar2_D"},
        {segment({19, 7}, true), "Bar2_E"},
        {tickBox(false), "CbS_D"},
        {tickBox(true), "CbS_E"},
        {optionMark(false), "RdS_D"},
        {optionMark(true), "RdS_E"},
        {macroButton({80, 25}, State::Normal), "MacroS_01"},
        {macroButton({80, 25}, State::Hover), "MacroS_02"},
        {macroButton({80, 25}, State::Pressed), "MacroS_03"},
        {macroButton({40, 25}, State::Normal), "MacroBtnS_01"},
        {macroButton({40, 25}, State::Hover), "MacroBtnS_02"},
        {macroButton({40, 25}, State::Pressed), "MacroBtnS_03"},
        {insertBase(true), "InsertKeyBase"},
        {insertBase(false), "InsertDelayBase"},
        {delayIcon(), "MacroIconDelay"},
        {keyIcon(true), "MacroIconPress"},
        {keyIcon(false), "MacroIconRelease"},
        {appIcon(64), "AppIcon64"},
        {appIcon(32), "AppIcon32"},
    };
    for (const auto& [image, name] : pictures)
        if (!out.save(image, name)) return false;
    return true;
}

bool makeDesktopIcons(PictureWriter& out) {
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        if (!out.save(appIcon(size), QString("%1x%1").arg(size))) return false;
    }
    return true;
}

}  // namespace art
