#pragma once
// Colours, fonts, shapes and effects shared by every picture of the skin, and the writer that
// stores the pictures.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QStringList>

namespace art {

namespace ink {
inline const QColor kVoid{7, 8, 10};
inline const QColor kGraphite0{12, 13, 16};
inline const QColor kGraphite1{19, 21, 26};
inline const QColor kGraphite2{28, 31, 38};
inline const QColor kGraphite3{40, 44, 53};
inline const QColor kEdge{60, 66, 79};
inline const QColor kText{234, 236, 240};
inline const QColor kMuted{152, 158, 170};
inline const QColor kCrimson{214, 20, 48};
inline const QColor kCrimsonBright{255, 70, 92};
inline const QColor kCrimsonDeep{104, 8, 24};
// Pixels of exactly this colour are see-through in the main window and the dialogs.
inline const QColor kSeeThrough{128, 0, 0};
}  // namespace ink

// Registers the DejaVu faces the skin is drawn with; names the missing file otherwise.
bool loadFonts(QString* missing);
QFont uiFont(int pixelSize, bool bold = false);  // labels and numbers
QFont labelFont(int pixelSize);                  // words beside controls
QFont headingFont(int pixelSize);                // panel and group headings
QFont displayFont(int pixelSize);                // the product name

QImage newCanvas(int width, int height);  // transparent, premultiplied ARGB

// Writes pictures into the resource folder, file stem = resource name.
class PictureWriter {
public:
    explicit PictureWriter(QString folder) : folder_(std::move(folder)) {}
    // A picture with alpha.
    bool save(const QImage& image, const QString& name);
    // An RGB picture without alpha: pixels less than half covered become the see-through colour,
    // the rest are flattened onto black. No drawn pixel is left at the see-through colour.
    bool saveShaped(const QImage& image, const QString& name);
    bool copy(const QString& from, const QString& to);
    const QStringList& written() const { return written_; }
    QString path(const QString& name, const QString& suffix = "png") const;

private:
    QString folder_;
    QStringList written_;
};

QPainterPath chamferedRect(const QRectF& r, qreal cut);
// A parallelogram whose top edge is shifted right by `slant` against the bottom edge.
QPainterPath slantedPlate(const QRectF& r, qreal slant);
QPainterPath roundedRect(const QRectF& r, qreal radius);

// A soft blur of a premultiplied ARGB picture (three box passes, close to a Gaussian).
QImage blurred(const QImage& image, int radius);
// Paints a soft halo of `colour` around `path` (filled, or stroked when strokeWidth > 0).
void paintGlow(QPainter& p, const QPainterPath& path, const QColor& colour, int radius,
               qreal strokeWidth = 0);

// Text with a dark shadow one pixel below, so that it reads on any part of the skin.
void paintText(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font,
               const QColor& colour);
// A group heading: a short crimson bar and the words after it, top-left at `at`.
void paintHeading(QPainter& p, QPointF at, const QString& text, int pixelSize = 13);

// The standard panel: chamfered graphite plate with crimson corner brackets.
void paintPanelFrame(QPainter& p, const QRectF& r);
// A framed group inside a panel, heading inside its top-left corner when given.
void paintGroupBox(QPainter& p, const QRectF& r, const QString& heading = {}, int headingSize = 12);
// A recessed slot, darker than its surroundings.
void paintInset(QPainter& p, const QRectF& r, qreal radius);

// The brand mark: a red hexagon around a small white mouse.
void paintBrandEmblem(QPainter& p, QPointF centre, qreal radius);

QColor withAlpha(QColor c, int alpha);
QColor mix(const QColor& a, const QColor& b, qreal t);

}  // namespace art
