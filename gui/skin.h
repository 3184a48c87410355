#pragma once
// The skin pictures: decoded from the program's built-in PNG resources once, then shared.
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

namespace kvr {

struct RgbaImage;

// A decoded RGBA picture as a Qt image.
QImage toQImage(const RgbaImage& rgba);

class Skin {
public:
    // Reports a picture that is missing or cannot be decoded.
    using ErrorReporter = std::function<void(const QString& message)>;
    explicit Skin(ErrorReporter report) : report_(std::move(report)) {}

    // The picture named `name` (letter case ignored); empty, after a report, when it is missing.
    std::optional<QPixmap> picture(const QString& name);
    std::optional<QImage> image(const QString& name);
    // Its size, from its header alone (no decoding); empty, after a report, when it is missing.
    std::optional<QSize> pictureSize(const QString& name);

private:
    ErrorReporter report_;
    QHash<QString, QPixmap> cache_;
};

// Decodes a built-in PNG resource; empty when it is missing or damaged.
std::optional<QImage> decodeBuiltInPicture(const QString& name);

}  // namespace kvr
