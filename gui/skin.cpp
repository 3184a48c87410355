#include "gui/skin.h"

#include "gui/images/png_image.h"
#include "gui/images/pictures.h"

#include <cstring>
#include <system_error>
#include <utility>

namespace kvr {

QImage toQImage(const RgbaImage& rgba) {
    QImage image(rgba.width, rgba.height, QImage::Format_RGBA8888);
    for (int y = 0; y < rgba.height; ++y) {
        std::memcpy(image.scanLine(y), rgba.pixels.data() + size_t(y) * size_t(rgba.width) * 4,
                    size_t(rgba.width) * 4);
    }
    return image;
}

namespace {

// The image takes the decoded pixels over rather than a copy of them: a skin picture is large,
// and every page of memory a start touches costs it time.
QImage adoptPixels(RgbaImage&& decoded, QImage::Format format) {
    auto* pixels = new std::vector<std::uint8_t>(std::move(decoded.pixels));
    const qsizetype pixelBytes = format == QImage::Format_RGB888 ? 3 : 4;
    return QImage(
        pixels->data(), decoded.width, decoded.height, qsizetype(decoded.width) * pixelBytes,
        format, [](void* owned) { delete static_cast<std::vector<std::uint8_t>*>(owned); }, pixels);
}

}  // namespace

QImage toQImage(RgbaImage&& rgba) { return adoptPixels(std::move(rgba), QImage::Format_RGBA8888); }

std::optional<QImage> decodeBuiltInPicture(const QString& name) {
    auto data = findPicture(name.toStdString());
    if (!data) return std::nullopt;
    auto decoded = decodePng(*data);
    if (!decoded) return std::nullopt;
    return toQImage(std::move(*decoded));
}

namespace {

// A picture decoded straight into the form its window pixmap keeps: three bytes a pixel for a
// picture without transparency (the window's background, the largest), otherwise 32-bit RGB when
// opaque and premultiplied ARGB when not. It then reaches its pixmap without a conversion or
// another copy of its pixels.
std::optional<QImage> decodeForPixmap(const QString& name) {
    auto data = findPicture(name.toStdString());
    if (!data) return std::nullopt;
    if (!pngHasAlpha(*data)) {
        auto decoded = decodePng(*data, PixelOrder::Rgb);
        if (!decoded) return std::nullopt;
        return adoptPixels(std::move(*decoded), QImage::Format_RGB888);
    }
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    auto decoded = decodePng(*data, PixelOrder::Bgra);
    if (!decoded) return std::nullopt;
    RgbaImage& bgra = *decoded;
    bool opaque = true;
    for (std::size_t i = 0; i + 4 <= bgra.pixels.size(); i += 4) {
        QRgb pixel;
        std::memcpy(&pixel, bgra.pixels.data() + i, sizeof pixel);
        if (qAlpha(pixel) == 255) continue;
        opaque = false;
        pixel = qPremultiply(pixel);
        std::memcpy(bgra.pixels.data() + i, &pixel, sizeof pixel);
    }
    return adoptPixels(std::move(bgra),
                       opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
#else
    auto decoded = decodePng(*data);
    if (!decoded) return std::nullopt;
    return toQImage(std::move(*decoded)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
#endif
}

}  // namespace

void Skin::decodeAhead(const QStringList& names) {
    if (ahead_.valid()) return;
    QStringList lower;
    for (const QString& n : names) lower << n.toLower();
    try {
        ahead_ = std::async(std::launch::async, [lower] {
            Decoded decoded;
            for (const QString& n : lower) decoded.insert(n, decodeForPixmap(n));
            return decoded;
        });
        aheadNames_ = lower;
    } catch (const std::system_error&) {
        // No thread to be had: each picture decodes when it is asked for, as any other.
    }
}

std::optional<QImage> Skin::decode(const QString& name) {
    const QString key = name.toLower();
    if (!aheadNames_.contains(key)) return decodeForPixmap(name);
    if (ahead_.valid()) decodedAhead_ = ahead_.get();
    aheadNames_.removeOne(key);
    return decodedAhead_.take(key);
}

std::optional<QImage> Skin::image(const QString& name) {
    std::optional<QImage> img = decode(name);
    if (!img && report_) report_(QString("The built-in picture \"%1\" is missing or damaged.").arg(name));
    return img;
}

std::optional<QSize> Skin::pictureSize(const QString& name) {
    if (auto it = cache_.constFind(name.toLower()); it != cache_.constEnd()) return it->size();
    const std::optional<PngSize> size = findPictureSize(name.toStdString());
    if (!size) {
        if (report_) report_(QString("The built-in picture \"%1\" is missing or damaged.").arg(name));
        return std::nullopt;
    }
    return QSize(size->width, size->height);
}

std::optional<QPixmap> Skin::picture(const QString& name) {
    const QString key = name.toLower();
    auto it = cache_.constFind(key);
    if (it != cache_.constEnd()) return *it;
    std::optional<QImage> img = image(name);
    if (!img) return std::nullopt;
    // Handed over, not copied: the pixmap keeps the decoded pixels themselves, three bytes a
    // pixel where the picture has no transparency.
    const Qt::ImageConversionFlags keep =
        img->format() == QImage::Format_RGB888 ? Qt::NoFormatConversion : Qt::AutoColor;
    QPixmap pixmap = QPixmap::fromImage(std::move(*img), keep);
    cache_.insert(key, pixmap);
    return pixmap;
}

}  // namespace kvr
