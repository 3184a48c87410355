#include "paint_kit.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImageWriter>
#include <QLinearGradient>
#include <algorithm>
#include <cmath>
#include <vector>

namespace art {

namespace {
const char* const kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-BoldOblique.ttf",
};

QFont makeFont(const char* family, int pixelSize, bool bold, bool italic) {
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// One horizontal then one vertical running-sum pass over premultiplied ARGB.
void boxPass(std::vector<int>& px, int w, int h, int radius, bool horizontal) {
    const int outer = horizontal ? h : w;
    const int inner = horizontal ? w : h;
    const int stride = horizontal ? 1 : w;
    std::vector<int> line(std::size_t(inner) * 4);
    const int span = 2 * radius + 1;
    for (int o = 0; o < outer; ++o) {
        const int base = horizontal ? o * w : o;
        for (int c = 0; c < 4; ++c) {
            int sum = 0;
            for (int i = -radius; i <= radius; ++i) {
                const int k = std::clamp(i, 0, inner - 1);
                sum += px[std::size_t(base + k * stride) * 4 + c];
            }
            for (int i = 0; i < inner; ++i) {
                line[std::size_t(i) * 4 + c] = sum / span;
                const int add = std::min(i + radius + 1, inner - 1);
                const int sub = std::max(i - radius, 0);
                sum += px[std::size_t(base + add * stride) * 4 + c] -
                       px[std::size_t(base + sub * stride) * 4 + c];
            }
        }
        for (int i = 0; i < inner; ++i)
            for (int c = 0; c < 4; ++c)
                px[std::size_t(base + i * stride) * 4 + c] = line[std::size_t(i) * 4 + c];
    }
}
}  // namespace

bool loadFonts(QString* missing) {
    for (const char* file : kFontFiles) {
        if (QFontDatabase::addApplicationFont(file) < 0) {
            *missing = file;
            return false;
        }
    }
    return true;
}

QFont uiFont(int pixelSize, bool bold) { return makeFont("DejaVu Sans", pixelSize, bold, false); }
QFont labelFont(int pixelSize) {
    return makeFont("DejaVu Sans Condensed", pixelSize, false, false);
}
QFont headingFont(int pixelSize) {
    return makeFont("DejaVu Sans Condensed", pixelSize, true, false);
}
QFont displayFont(int pixelSize) {
    return makeFont("DejaVu Sans Condensed", pixelSize, true, true);
}

QImage newCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QString PictureWriter::path(const QString& name, const QString& suffix) const {
    return QDir(folder_).filePath(name + "." + suffix);
}

bool PictureWriter::save(const QImage& image, const QString& name) {
    QImageWriter w(path(name), "png");
    w.setQuality(0);  // for PNG: the strongest compression
    if (!w.write(image.convertToFormat(QImage::Format_ARGB32))) return false;
    written_ << name;
    return true;
}

bool PictureWriter::saveShaped(const QImage& image, const QString& name) {
    const QImage src = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(src.size(), QImage::Format_RGB888);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uchar* o = out.scanLine(y);
        for (int x = 0; x < src.width(); ++x) {
            int r = ink::kSeeThrough.red(), g = 0, b = 0;
            if (qAlpha(in[x]) >= 128) {
                // Premultiplied colour is the colour over black.
                r = qRed(in[x]);
                g = qGreen(in[x]);
                b = qBlue(in[x]);
                if (r == ink::kSeeThrough.red() && g == 0 && b == 0) r += 1;
            }
            o[x * 3] = uchar(r);
            o[x * 3 + 1] = uchar(g);
            o[x * 3 + 2] = uchar(b);
        }
    }
    QImageWriter w(path(name), "png");
    w.setQuality(0);  // for PNG: the strongest compression
    if (!w.write(out)) return false;
    written_ << name;
    return true;
}

bool PictureWriter::copy(const QString& from, const QString& to) {
    QFile::remove(path(to));
    if (!QFile::copy(path(from), path(to))) return false;
    written_ << to;
    return true;
}

QPainterPath chamferedRect(const QRectF& r, qreal cut) {
    QPainterPath p;
    p.moveTo(r.left() + cut, r.top());
    p.lineTo(r.right() - cut, r.top());
    p.lineTo(r.right(), r.top() + cut);
    p.lineTo(r.right(), r.bottom() - cut);
    p.lineTo(r.right() - cut, r.bottom());
    p.lineTo(r.left() + cut, r.bottom());
    p.lineTo(r.left(), r.bottom() - cut);
    p.lineTo(r.left(), r.top() + cut);
    p.closeSubpath();
    return p;
}

QPainterPath slantedPlate(const QRectF& r, qreal slant) {
    QPainterPath p;
    p.moveTo(r.left() + slant, r.top());
    p.lineTo(r.right(), r.top());
    p.lineTo(r.right() - slant, r.bottom());
    p.lineTo(r.left(), r.bottom());
    p.closeSubpath();
    return p;
}

QPainterPath roundedRect(const QRectF& r, qreal radius) {
    QPainterPath p;
    p.addRoundedRect(r, radius, radius);
    return p;
}

QImage blurred(const QImage& image, int radius) {
    QImage src = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = src.width(), h = src.height();
    std::vector<int> px(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            int* d = &px[(std::size_t(y) * w + x) * 4];
            d[0] = qRed(line[x]);
            d[1] = qGreen(line[x]);
            d[2] = qBlue(line[x]);
            d[3] = qAlpha(line[x]);
        }
    }
    const int passRadius = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(px, w, h, passRadius, true);
        boxPass(px, w, h, passRadius, false);
    }
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(src.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int* d = &px[(std::size_t(y) * w + x) * 4];
            line[x] = qRgba(d[0], d[1], d[2], d[3]);
        }
    }
    return src;
}

void paintGlow(QPainter& p, const QPainterPath& path, const QColor& colour, int radius,
               qreal strokeWidth) {
    const QSize size(p.device()->width(), p.device()->height());
    QImage layer = newCanvas(size.width(), size.height());
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.setTransform(p.transform());
        if (strokeWidth > 0) {
            lp.strokePath(path,
                          QPen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        } else {
            lp.fillPath(path, colour);
        }
    }
    p.save();
    p.resetTransform();
    p.drawImage(0, 0, blurred(layer, radius));
    p.restore();
}

void paintText(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font,
               const QColor& colour) {
    p.save();
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 170));
    p.drawText(box.translated(0, 1), flags, text);
    p.setPen(colour);
    p.drawText(box, flags, text);
    p.restore();
}

void paintHeading(QPainter& p, QPointF at, const QString& text, int pixelSize) {
    const QFont f = headingFont(pixelSize);
    const qreal h = pixelSize + 4;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath bar = slantedPlate(QRectF(at.x(), at.y() + 2, 7, h - 4), 3);
    p.fillPath(bar, ink::kCrimson);
    p.restore();
    paintText(p, QRectF(at.x() + 12, at.y(), 600, h), Qt::AlignLeft | Qt::AlignVCenter, text, f,
              ink::kText);
}

void paintPanelFrame(QPainter& p, const QRectF& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = r.adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = chamferedRect(body, 12);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, QColor(30, 33, 40));
    fill.setColorAt(0.35, QColor(22, 24, 30));
    fill.setColorAt(1, QColor(15, 16, 20));
    p.fillPath(shape, fill);
    // A faint red wash from the top-left corner gives the plates some depth.
    QRadialGradient wash(body.topLeft(), std::max(body.width(), body.height()) * 0.8);
    wash.setColorAt(0, withAlpha(ink::kCrimson, 26));
    wash.setColorAt(1, withAlpha(ink::kCrimson, 0));
    p.fillPath(shape, wash);
    p.strokePath(shape, QPen(QColor(64, 70, 84), 1));
    p.strokePath(chamferedRect(body.adjusted(1.5, 1.5, -1.5, -1.5), 11),
                 QPen(QColor(255, 255, 255, 14), 1));

    // Crimson brackets on two opposite corners.
    QPen accent(ink::kCrimson, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    QPainterPath tl;
    tl.moveTo(body.left() + 1, body.top() + 40);
    tl.lineTo(body.left() + 1, body.top() + 12.5);
    tl.lineTo(body.left() + 12.5, body.top() + 1);
    tl.lineTo(body.left() + 56, body.top() + 1);
    QPainterPath br;
    br.moveTo(body.right() - 1, body.bottom() - 40);
    br.lineTo(body.right() - 1, body.bottom() - 12.5);
    br.lineTo(body.right() - 12.5, body.bottom() - 1);
    br.lineTo(body.right() - 56, body.bottom() - 1);
    p.strokePath(tl, accent);
    p.strokePath(br, accent);
    p.restore();
}

void paintGroupBox(QPainter& p, const QRectF& r, const QString& heading, int headingSize) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = r.adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = roundedRect(box, 5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, QColor(38, 42, 51, 150));
    fill.setColorAt(1, QColor(14, 15, 19, 150));
    p.fillPath(shape, fill);
    p.strokePath(shape, QPen(QColor(52, 57, 68), 1));
    p.strokePath(roundedRect(box.adjusted(1, 1, -1, -1), 4), QPen(QColor(0, 0, 0, 90), 1));
    p.restore();
    if (!heading.isEmpty()) paintHeading(p, r.topLeft() + QPointF(8, 3), heading, headingSize);
}

void paintInset(QPainter& p, const QRectF& r, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath shape = roundedRect(r, radius);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor(4, 5, 6));
    fill.setColorAt(1, QColor(13, 14, 17));
    p.fillPath(shape, fill);
    p.strokePath(shape, QPen(QColor(0, 0, 0, 200), 1));
    // The lower lip catches light, as a recess does.
    QPainterPath lip;
    lip.moveTo(r.left() + radius, r.bottom() + 0.5);
    lip.lineTo(r.right() - radius, r.bottom() + 0.5);
    p.strokePath(lip, QPen(QColor(255, 255, 255, 22), 1));
    p.restore();
}

void paintBrandEmblem(QPainter& p, QPointF centre, qreal radius) {
    QPolygonF hex;
    for (int k = 0; k < 6; ++k) {
        const qreal a = M_PI / 180.0 * (60 * k);
        hex << centre + QPointF(radius * std::cos(a), radius * 0.92 * std::sin(a));
    }
    QPainterPath shape;
    shape.addPolygon(hex);
    shape.closeSubpath();
    paintGlow(p, shape, withAlpha(ink::kCrimson, 200), 10, 3);
    QRadialGradient fill(centre, radius);
    fill.setColorAt(0, QColor(44, 12, 18));
    fill.setColorAt(1, QColor(14, 15, 18));
    p.fillPath(shape, fill);
    p.strokePath(shape, QPen(ink::kCrimson, 2.2));

    // A small mouse seen from above, split into its two buttons.
    const QRectF m(centre.x() - radius * 0.33, centre.y() - radius * 0.52, radius * 0.66,
                   radius * 1.04);
    QPainterPath mouse;
    mouse.addRoundedRect(m, m.width() / 2, m.width() / 2);
    p.fillPath(mouse, QColor(230, 232, 236));
    QPen cut(QColor(14, 15, 18), 2);
    p.setPen(cut);
    p.drawLine(QPointF(m.center().x(), m.top()),
               QPointF(m.center().x(), m.top() + m.height() * 0.4));
    p.drawLine(QPointF(m.left(), m.top() + m.height() * 0.4),
               QPointF(m.right(), m.top() + m.height() * 0.4));
    p.fillRect(QRectF(m.center().x() - 1.5, m.top() + m.height() * 0.12, 3, m.height() * 0.18),
               ink::kCrimson);
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

}  // namespace art
