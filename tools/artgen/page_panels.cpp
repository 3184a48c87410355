// The panels of the advanced, breathing light and macro pages. Every heading and word stands
// where the layout puts the control it names; positions below are panel coordinates derived
// from the layout's window coordinates.
#include <QFontMetrics>
#include <QLinearGradient>
#include <algorithm>
#include <cmath>

#include "layout_geometry.h"
#include "pictures.h"
#include "words.h"

namespace art {

namespace {

constexpr int kLabelSize = 12;

QImage newPanel(int page, QPainter& p, QImage& img) {
    img = newCanvas(kPanelSizes[std::size_t(page - 1)].width(),
                    kPanelSizes[std::size_t(page - 1)].height());
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintPanelFrame(p, QRectF(0, 0, img.width(), img.height()));
    return img;
}

void paintLabel(QPainter& p, const QRectF& box, const QString& text, int flags,
                QColor colour = ink::kText) {
    paintText(p, box, flags | Qt::AlignVCenter, text, labelFont(kLabelSize), colour);
}

// ---- Advanced page --------------------------------------------------------------------------

void paintCrosshair(QPainter& p, QPointF c, qreal r) {
    QPainterPath ring;
    ring.addEllipse(c, r, r);
    paintGlow(p, ring, withAlpha(ink::kCrimson, 150), 6, 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink::kCrimsonBright, 1.8));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(withAlpha(ink::kCrimsonBright, 160), 1.2));
    p.drawEllipse(c, r * 0.45, r * 0.45);
    p.setPen(QPen(QColor(214, 218, 226), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k < 4; ++k) {
        const qreal a = M_PI / 2 * k;
        const QPointF d(std::cos(a), std::sin(a));
        p.drawLine(c + d * (r * 0.6), c + d * (r * 1.35));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(ink::kCrimsonBright);
    p.drawEllipse(c, 1.8, 1.8);
}

QImage advancedPanel(int layout) {
    const PanelWords& w = wordsOfLayout(layout);
    const QPoint origin = layoutGeometry(layout).panels[1];
    QImage img;
    QPainter p;
    newPanel(2, p, img);

    // Fire key fields: their titles end just left of the fields.
    paintGroupBox(p, QRectF(8, 6, 330, 76), w.fireKey);
    const QPoint repeat = kRepeatField - origin, fireTime = kFireTimeField - origin;
    paintLabel(p, QRectF(14, repeat.y(), repeat.x() - 20, 18), w.repeat, Qt::AlignRight);
    paintLabel(p, QRectF(14, fireTime.y(), fireTime.x() - 20, 18), w.fireTime, Qt::AlignRight);
    paintCrosshair(p, QPointF(292, 50), 15);

    // Pointer settings: a title over each ten-step scale, a slot under its segments.
    paintGroupBox(p, QRectF(8, 88, 330, 246));
    const QString titles[] = {w.mouseSpeed, w.doubleClickSpeed, w.scrollSpeed};
    for (int s = 0; s < 3; ++s) {
        const QPoint bar = kScales[std::size_t(s)] - origin;
        paintHeading(p, QPointF(16, bar.y() - 24), titles[s], 12);
        paintInset(p, QRectF(bar.x() - 3, bar.y() - 3, 24 * 10 + 5, 13), 3);
        paintText(p, QRectF(bar.x() - 26, bar.y() - 6, 18, 14), Qt::AlignCenter,
                  QString(QChar(0x2212)), headingFont(13), ink::kMuted);
        paintText(p, QRectF(bar.x() + 246, bar.y() - 6, 18, 14), Qt::AlignCenter, "+",
                  headingFont(13), ink::kMuted);
    }

    // Sensitivity levels: one band per level, a slot under its eight steps, and the colour
    // column's title over the colour fields.
    paintGroupBox(p, QRectF(346, 6, 352, 328), w.dpiLevels);
    const QPoint check = kLevelCheck - origin, steps = kLevelSteps - origin,
                 colour = kLevelColour - origin;
    paintText(p, QRectF(colour.x() - 14, 26, 58, 18), Qt::AlignCenter, w.colour, headingFont(11),
              ink::kMuted);
    for (int n = 0; n < 8; ++n) {
        const qreal y = check.y() - 4 + kLevelPitch * n;
        p.fillRect(QRectF(352, y, 340, 27), QColor(255, 255, 255, n % 2 ? 5 : 11));
        p.fillRect(QRectF(352, y, 2, 27), withAlpha(ink::kCrimson, 150));
        paintInset(p, QRectF(steps.x() - 3, steps.y() - 3 + kLevelPitch * n, 19 * 8 + 5, 13), 3);
    }
    p.end();
    return img;
}

// ---- Breathing light page -------------------------------------------------------------------

// One cycle of the light: off, rising, lit, falling; drawn twice as the page's emblem.
void paintBreathingWave(QPainter& p, const QRectF& area) {
    const qreal low = area.bottom() - 6, high = area.top() + 8;
    const qreal unit = area.width() / 10;
    QPainterPath wave;
    wave.moveTo(area.left(), low);
    qreal x = area.left();
    for (int cycle = 0; cycle < 2; ++cycle) {
        wave.lineTo(x += unit * 0.8, low);
        wave.cubicTo(x + unit * 0.6, low, x + unit * 0.6, high, x + unit * 1.2, high);
        x += unit * 1.2;
        wave.lineTo(x += unit * 1.3, high);
        wave.cubicTo(x + unit * 0.6, high, x + unit * 0.6, low, x + unit * 1.7, low);
        x += unit * 1.7;
    }
    wave.lineTo(area.right(), low);

    QPainterPath fill = wave;
    fill.lineTo(area.right(), area.bottom());
    fill.lineTo(area.left(), area.bottom());
    fill.closeSubpath();
    QLinearGradient g(0, high, 0, area.bottom());
    g.setColorAt(0, withAlpha(ink::kCrimson, 90));
    g.setColorAt(1, withAlpha(ink::kCrimson, 0));
    p.fillPath(fill, g);
    paintGlow(p, wave, ink::kCrimson, 8, 3);
    p.strokePath(wave, QPen(ink::kCrimsonBright, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setPen(QPen(QColor(255, 255, 255, 22), 1, Qt::DashLine));
    p.drawLine(QPointF(area.left(), high), QPointF(area.right(), high));
    p.drawLine(QPointF(area.left(), low + 0.5), QPointF(area.right(), low + 0.5));
}

// The light page offers one of its sets of mode choices, by the light of the mouse; each set
// has its own picture naming its choices and time fields.
enum class LightSet { Breathing, Colour, NT, NTFirstTimeOnly };

QImage lightPanel(int layout, LightSet set) {
    const PanelWords& w = wordsOfLayout(layout);
    const LayoutGeometry g = layoutGeometry(layout);
    const QPoint origin = g.panels[2];
    QImage img;
    QPainter p;
    newPanel(3, p, img);

    // A word right of an option mark, on the mark's line, narrowed to end before `limit` (the
    // next mark or the panel's edge).
    auto word = [&](QPoint mark, const QString& text, int limit = 0) {
        const QPoint m = mark - origin;
        const int width = limit > 0 ? limit - origin.x() - m.x() - 25 : 120;
        int size = kLabelSize;
        while (size > 9 && QFontMetrics(labelFont(size)).horizontalAdvance(text) > width) --size;
        paintText(p, QRectF(m.x() + 21, m.y() - 1, width, 18), Qt::AlignLeft | Qt::AlignVCenter,
                  text, labelFont(size), ink::kText);
    };
    // A title ending just left of a time field.
    auto fieldTitle = [&](QPoint field, const QString& text) {
        const QPoint t = field - origin;
        paintLabel(p, QRectF(16, t.y(), t.x() - 24, 18), text, Qt::AlignRight);
    };

    paintGroupBox(p, QRectF(8, 2, 248, 48), w.mcpi, 11);
    paintGroupBox(p, QRectF(264, 2, 249, 48), w.buttonEffect, 11);
    word(g.switches[0], w.on);
    word(g.switches[1], w.off);
    word(g.switches[2], w.on);
    word(g.switches[3], w.off);

    paintGroupBox(p, QRectF(8, 54, 505, 46), w.lightMode, 11);
    paintGroupBox(p, QRectF(8, 106, 505, 124));
    const int panelRight = origin.x() + img.width() - 6;
    switch (set) {
        case LightSet::Breathing: {
            const QString modeWords[] = {w.breathing, w.light, w.syncBreathing, w.lightOff};
            for (std::size_t i = 0; i < g.breathingModes.size(); ++i)
                word(g.breathingModes[i], modeWords[i]);
            // Titled fields where the layout shows the breathing times, otherwise only the
            // picture of a breathing cycle.
            if (g.breathingTimes.empty()) {
                paintBreathingWave(p, QRectF(24, 122, 474, 96));
            } else {
                const QString timeWords[] = {w.offTime, w.riseTime, w.lightTime, w.fallTime};
                for (std::size_t i = 0; i < g.breathingTimes.size(); ++i)
                    fieldTitle(g.breathingTimes[i], timeWords[i]);
                paintBreathingWave(p, QRectF(262, 122, 236, 96));
            }
            break;
        }
        case LightSet::Colour:
            word(kColourModes[0], w.breathing, kColourModes[1].x());
            word(kColourModes[1], w.light);
            paintBreathingWave(p, QRectF(24, 122, 474, 96));
            break;
        case LightSet::NT:
        case LightSet::NTFirstTimeOnly: {
            const QString modeWords[] = {w.sevenColours, w.dpiColour, w.pulse, w.flash, w.lightOff};
            for (std::size_t i = 0; i < kNTModes.size(); ++i) {
                const int limit = i + 1 < kNTModes.size() ? kNTModes[i + 1].x() : panelRight;
                word(kNTModes[i], modeWords[i], limit);
            }
            const QString timeWords[] = {w.colourTime, w.pulseTime, w.pulseHold, w.flashTime,
                                         w.flashCount};
            const std::size_t shown = set == LightSet::NT ? kNTTimes.size() : 1;
            for (std::size_t i = 0; i < shown; ++i) fieldTitle(kNTTimes[i], timeWords[i]);
            paintBreathingWave(p, QRectF(282, 122, 216, 96));
            break;
        }
    }
    p.end();
    return img;
}

// ---- Macro page -----------------------------------------------------------------------------

QImage macroPanel(int layout) {
    const PanelWords& w = wordsOfLayout(layout);
    const QPoint origin = layoutGeometry(layout).panels[3];
    QImage img;
    QPainter p;
    newPanel(4, p, img);

    const QPoint pcList = kPcMacroList - origin, mouseList = kMouseMacroList - origin,
                 contentList = kMacroContentList - origin, record = kRecordButton - origin,
                 delay = kDelayGroup - origin;

    // One column per list, its heading just above the list, which covers the rest of it.
    const qreal top = std::min({pcList.y(), mouseList.y(), contentList.y()}) - 30;
    paintGroupBox(p, QRectF(8, top, delay.x() - 14, 340 - top), w.pcMacros);
    paintGroupBox(p, QRectF(delay.x(), top, kDelayGroupSize.width(), delay.y() - 6 - top),
                  w.mouseMacros);
    paintGroupBox(p, QRectF(contentList.x() - 6, top, 600 - contentList.x(), 340 - top),
                  w.macroContent);
    paintInset(p, QRectF(record.x() - 3, record.y() - 3, 86, 31), 5);

    // The recording delay group: the three choices beside their lamps, "ms" after the field.
    const QRectF group(delay, kDelayGroupSize);
    paintGroupBox(p, group, w.delayTime, 12);
    const QString rows[] = {w.recordDelay, w.defaultDelay, w.noDelay};
    for (int r = 0; r < 3; ++r) {
        const QPointF lamp = QPointF(delay + kDelayRows) + QPointF(0, kDelayRowPitch * r);
        p.fillRect(QRectF(group.left() + 6, lamp.y() - 3, group.width() - 12, 22),
                   QColor(255, 255, 255, r % 2 ? 5 : 11));
        paintLabel(p, QRectF(lamp.x() + 22, lamp.y() - 1, 96, 18), rows[r], Qt::AlignLeft);
    }
    const QPoint field = delay + kDelayField;
    paintLabel(p, QRectF(field.x() + 44, field.y(), 22, 18), w.ms, Qt::AlignLeft, ink::kMuted);
    p.end();
    return img;
}

}  // namespace

bool makePagePanels(PictureWriter& out) {
    for (int layout = 1; layout <= 3; ++layout) {
        const QString prefix = QString("L%1_Back").arg(layout);
        if (!out.save(advancedPanel(layout), prefix + "2") ||
            !out.save(lightPanel(layout, LightSet::Breathing), prefix + "3") ||
            !out.save(lightPanel(layout, LightSet::Colour), prefix + "3Color") ||
            !out.save(lightPanel(layout, LightSet::NT), prefix + "3NT") ||
            !out.save(lightPanel(layout, LightSet::NTFirstTimeOnly), prefix + "3NTFirst") ||
            !out.save(macroPanel(layout), prefix + "4")) {
            return false;
        }
    }
    return true;
}

}  // namespace art
