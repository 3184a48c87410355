#pragma once
// The skin pictures: decoded from the program's built-in PNG resources once, then shared.
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <future>
#include <optional>

namespace kvr {

struct RgbaImage;

// A decoded RGBA picture as a Qt image.
QImage toQImage(const RgbaImage& rgba);
QImage toQImage(RgbaImage&& rgba);

class Skin {
public:
    // Reports a picture that is missing or cannot be decoded.
    using ErrorReporter = std::function<void(const QString& message)>;
    explicit Skin(ErrorReporter report) : report_(std::move(report)) {}

    // Starts decoding `names` on a worker at once, so that they are ready when first asked for:
    // the first page's large pictures decode while the window builds its controls. A skin that
    // goes while its worker runs waits for it.
    void decodeAhead(const QStringList& names);

    // The picture named `name` (letter case ignored); empty, after a report, when it is missing.
    std::optional<QPixmap> picture(const QString& name);
    std::optional<QImage> image(const QString& name);
    // Its size, as the build read it from its header (no decoding, nor any touch of its bytes);
    // empty, after a report, when it is missing.
    std::optional<QSize> pictureSize(const QString& name);

private:
    using Decoded = QHash<QString, std::optional<QImage>>;  // by lower-case name
    std::optional<QImage> decode(const QString& name);

    ErrorReporter report_;
    QHash<QString, QPixmap> cache_;
    QStringList aheadNames_;  // lower case
    std::future<Decoded> ahead_;
    Decoded decodedAhead_;
};

// Decodes a built-in PNG resource; empty when it is missing or damaged.
std::optional<QImage> decodeBuiltInPicture(const QString& name);

}  // namespace kvr
