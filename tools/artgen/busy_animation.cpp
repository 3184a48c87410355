// The busy window's animation: a ring of twelve segments with a bright head running round it,
// and the brand's mouse pulsing in the middle. Drawn on black, which the busy window shows
// as see-through, and written with giflib: 200 x 192, 12 frames of 50 ms, looping for ever.
#include <gif_lib.h>

#include <QFile>
#include <QRadialGradient>
#include <cmath>
#include <vector>

#include "pictures.h"

namespace art {

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 192;
constexpr int kFrames = 12;
constexpr int kDelayCentiseconds = 5;
// Darker pixels become pure black, so that no dim fringe shows round the lit parts.
constexpr int kBlackBelow = 26;

QImage frame(int f) {
    const QPointF c(kWidth / 2.0, kHeight / 2.0);
    // All segments, and separately the lit ones, whose halo is the only glow of the ring.
    QImage ring = newCanvas(kWidth, kHeight);
    QImage lit = newCanvas(kWidth, kHeight);
    {
        QPainter rp(&ring);
        QPainter lp(&lit);
        rp.setRenderHint(QPainter::Antialiasing);
        lp.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < kFrames; ++i) {
            const int behind = (f - i + kFrames) % kFrames;
            const qreal strength = behind == 0 ? 1.0 : behind < 6 ? 0.9 * (1 - behind / 6.0) : 0.0;
            const qreal start = 90 - 30.0 * i - 3;  // clockwise from the top
            QPainterPath seg;
            const QRectF outer(c.x() - 76, c.y() - 76, 152, 152);
            const QRectF inner(c.x() - 60, c.y() - 60, 120, 120);
            seg.arcMoveTo(outer, start);
            seg.arcTo(outer, start, -24);
            seg.arcTo(inner, start - 24, 24);
            seg.closeSubpath();
            QColor colour = mix(QColor(70, 10, 22), ink::kCrimsonBright, strength);
            if (behind == 0) colour = QColor(255, 120, 140);
            rp.fillPath(seg, colour);
            if (strength > 0) lp.fillPath(seg, colour);
        }
    }
    QImage img(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(0, 0, blurred(lit, 12));
    p.drawImage(0, 0, ring);

    // The mouse in the middle breathes with the ring's turn.
    const qreal pulse = 0.5 + 0.5 * std::cos(2 * M_PI * f / kFrames);
    QPolygonF hex;
    for (int k = 0; k < 6; ++k) {
        const qreal a = M_PI / 3 * k;
        hex << c + QPointF(34 * std::cos(a), 31 * std::sin(a));
    }
    QPainterPath hexPath;
    hexPath.addPolygon(hex);
    hexPath.closeSubpath();
    paintGlow(p, hexPath, mix(ink::kCrimsonDeep, ink::kCrimsonBright, pulse), 10, 4);
    p.strokePath(hexPath, QPen(mix(ink::kCrimson, ink::kCrimsonBright, pulse), 3));
    const QRectF body(c.x() - 11, c.y() - 17, 22, 34);
    QPainterPath mouse;
    mouse.addRoundedRect(body, 11, 11);
    p.fillPath(mouse, QColor(236, 238, 242));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(c.x(), body.top()), QPointF(c.x(), body.top() + 13));
    p.drawLine(QPointF(body.left(), body.top() + 13), QPointF(body.right(), body.top() + 13));
    p.fillRect(QRectF(c.x() - 1.5, body.top() + 4, 3, 6),
               mix(ink::kCrimson, ink::kCrimsonBright, pulse));
    p.end();

    for (int y = 0; y < kHeight; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kWidth; ++x)
            if (std::max({qRed(line[x]), qGreen(line[x]), qBlue(line[x])}) < kBlackBelow)
                line[x] = qRgb(0, 0, 0);
    }
    return img;
}

}  // namespace

bool makeBusyAnimation(const QString& path) {
    // One palette for all frames: quantise the frames stacked as one tall picture.
    const int pixels = kWidth * kHeight * kFrames;
    std::vector<GifByteType> red(pixels), green(pixels), blue(pixels), indices(pixels);
    for (int f = 0; f < kFrames; ++f) {
        const QImage img = frame(f);
        for (int y = 0; y < kHeight; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < kWidth; ++x) {
                const std::size_t i = (std::size_t(f) * kHeight + y) * kWidth + x;
                red[i] = GifByteType(qRed(line[x]));
                green[i] = GifByteType(qGreen(line[x]));
                blue[i] = GifByteType(qBlue(line[x]));
            }
        }
    }
    int colours = 256;
    std::vector<GifColorType> palette(256);
    if (GifQuantizeBuffer(kWidth, kHeight * kFrames, &colours, red.data(), green.data(),
                          blue.data(), indices.data(), palette.data()) == GIF_ERROR) {
        return false;
    }
    // Pure black must stay exactly black: it is the see-through colour of the busy window.
    const GifByteType black = indices[0];
    palette[black] = GifColorType{0, 0, 0};
    for (int i = 0; i < pixels; ++i)
        if (red[i] == 0 && green[i] == 0 && blue[i] == 0) indices[i] = black;

    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &error);
    if (!gif) return false;
    bool ok = true;
    ColorMapObject* map = GifMakeMapObject(256, palette.data());
    EGifSetGifVersion(gif, true);
    ok = ok && EGifPutScreenDesc(gif, kWidth, kHeight, 8, black, map) == GIF_OK;
    const GifByteType loopForever[] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, loopForever) == GIF_OK &&
         EGifPutExtensionTrailer(gif) == GIF_OK;
    for (int f = 0; ok && f < kFrames; ++f) {
        GraphicsControlBlock gcb{DISPOSE_DO_NOT, false, kDelayCentiseconds, NO_TRANSPARENT_COLOR};
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) == GIF_OK &&
             EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr) == GIF_OK;
        for (int y = 0; ok && y < kHeight; ++y) {
            ok = EGifPutLine(gif, &indices[(std::size_t(f) * kHeight + y) * kWidth], kWidth) ==
                 GIF_OK;
        }
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    // giflib creates the file readable by its owner only; the picture is shared data.
    QFile::setPermissions(
        path, QFile::permissions(path) | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return ok;
}

}  // namespace art
