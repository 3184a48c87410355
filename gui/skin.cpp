#include "gui/skin.h"

#include "gui/images/png_image.h"
#include "gui/images/pictures.h"

#include <cstring>

namespace kvr {

QImage toQImage(const RgbaImage& rgba) {
    QImage image(rgba.width, rgba.height, QImage::Format_RGBA8888);
    for (int y = 0; y < rgba.height; ++y) {
        std::memcpy(image.scanLine(y), rgba.pixels.data() + size_t(y) * size_t(rgba.width) * 4,
                    size_t(rgba.width) * 4);
    }
    return image;
}

std::optional<QImage> decodeBuiltInPicture(const QString& name) {
    auto data = findPicture(name.toStdString());
    if (!data) return std::nullopt;
    auto decoded = decodePng(*data);
    if (!decoded) return std::nullopt;
    return toQImage(*decoded);
}

std::optional<QImage> Skin::image(const QString& name) {
    std::optional<QImage> img = decodeBuiltInPicture(name);
    if (!img && report_) report_(QString("The built-in picture \"%1\" is missing or damaged.").arg(name));
    return img;
}

std::optional<QSize> Skin::pictureSize(const QString& name) {
    if (auto it = cache_.constFind(name.toLower()); it != cache_.constEnd()) return it->size();
    const auto data = findPicture(name.toStdString());
    const std::optional<PngSize> size = data ? readPngSize(*data) : std::nullopt;
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
    QPixmap pixmap = QPixmap::fromImage(*img);
    cache_.insert(key, pixmap);
    return pixmap;
}

}  // namespace kvr
