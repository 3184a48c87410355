// Review aids: each page of each layout composed at 800 x 600 roughly as the program shows it
// (background, panel, buttons in their start pictures, sample captions and stand-ins for the
// edit boxes and lists), and a contact sheet of every picture.
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>

#include "layout_geometry.h"
#include "pictures.h"

namespace art {

namespace {

struct Captions {
    QStringList round, pages, languages, keys;
    QString record;
};

Captions captionsOf(int layout) {
    if (layout == 1) {
        return {{"Confirmar", "Aplicar", "Resetar", "Sair"},
                {"Controle Principal", QString::fromUtf8("Avançado"), "Breathing Light", "Macro",
                 "Salvar Perfil", "Carregar Perfil"},
                {"Portuguese", "English"},
                {QString::fromUtf8("Botão Esquerdo"), QString::fromUtf8("Botão do Meio"),
                 QString::fromUtf8("Botão Direito"), "Retornar", QString::fromUtf8("Avançar"),
                 "DPI", QString::fromUtf8("Botão Disparo")},
                QString::fromUtf8("Gravação")};
    }
    return {
        {"Confirm", "Apply", "Reset", "Exit"},
        {"Main Control", "Advanced", "Breathing Light", "Macro", "Save Profile", "Load Profile"},
        {"Portuguese", "English", "Language3"},
        {"Left Key", "Middle Key", "Right Key", "Backward", "Forward", "DPI", "Fire Key"},
        "Record"};
}

class Mock {
public:
    Mock(const PictureWriter& out, QImage& canvas) : out_(out), p_(&canvas) {
        p_.setRenderHint(QPainter::Antialiasing);
        p_.setRenderHint(QPainter::TextAntialiasing);
    }

    QImage load(const QString& name) const { return QImage(out_.path(name)); }

    void picture(const QString& name, QPoint at) { p_.drawImage(at, load(name)); }

    // The window's see-through colour shown as the desktop behind it.
    void background(const QString& name) {
        QImage bg = load(name).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < bg.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(bg.scanLine(y));
            for (int x = 0; x < bg.width(); ++x)
                if ((line[x] & 0xFFFFFF) == 0x800000) line[x] = 0;
        }
        p_.drawImage(0, 0, bg);
    }

    void caption(const QRectF& box, const QString& text, int pointSize, QColor colour = Qt::white,
                 int flags = Qt::AlignCenter) {
        QFont f("DejaVu Sans");
        f.setPixelSize(pointSize * 4 / 3);
        p_.setFont(f);
        p_.setPen(colour);
        p_.drawText(box, flags, text);
    }

    void field(const QRect& r, const QString& text, QColor back, QColor fore) {
        p_.fillRect(r, back);
        caption(r, text, 9, fore, Qt::AlignLeft | Qt::AlignVCenter);
    }

    QPainter& painter() { return p_; }

private:
    const PictureWriter& out_;
    QPainter p_;
};

void paintCommon(Mock& m, const LayoutGeometry& g, const Captions& c, int page) {
    for (std::size_t i = 0; i < g.roundButtons.size(); ++i) {
        m.picture("BtnS_01", g.roundButtons[i]);
        m.caption(QRectF(g.roundButtons[i], kRoundButtonSize), c.round[int(i)], 9);
    }
    const int pageOfButton[] = {1, 2, 3, 4, 0, 0};
    for (std::size_t i = 0; i < g.pageButtons.size(); ++i) {
        m.picture(pageOfButton[i] == page ? "SetS_02" : "SetS_01", g.pageButtons[i]);
        m.caption(QRectF(g.pageButtons[i] + QPoint(kPageButtonSlant, 0),
                         QSize(kPageButtonSize.width() - 2 * kPageButtonSlant, 30)),
                  c.pages[int(i)], 11);
    }
    for (std::size_t i = 0; i < g.languageButtons.size(); ++i) {
        m.picture(i == 0 ? "SetS_02" : "SetS_01", g.languageButtons[i]);
        m.caption(QRectF(g.languageButtons[i] + QPoint(kPageButtonSlant, 0),
                         QSize(kPageButtonSize.width() - 2 * kPageButtonSlant, 30)),
                  c.languages[int(i)], 11);
    }
    m.picture("WebS_01", g.web);
}

void paintButtonPage(Mock& m, const LayoutGeometry& g, const Captions& c) {
    for (int k = 0; k < 9; ++k) {
        if (!g.keyLabels[std::size_t(k)]) continue;
        const QPoint at = *g.keyLabels[std::size_t(k)];
        m.picture(k == 1 ? "KeyS_02" : "KeyS_01", at);
        m.caption(QRectF(at, kKeyLabelSize), c.keys[k], 11);
    }
}

void paintAdvancedPage(Mock& m) {
    const QColor editBack(113, 111, 100);
    m.field(QRect(kRepeatField, QSize(32, 18)), "2", editBack, Qt::white);
    m.field(QRect(kFireTimeField, QSize(32, 18)), "16", editBack, Qt::white);
    const int lit[] = {6, 3, 3};
    for (int s = 0; s < 3; ++s) {
        for (int i = 0; i < 10; ++i) {
            const QPoint at = kScales[std::size_t(s)] + QPoint(24 * i, 0);
            m.picture(i < lit[s] ? "Bar1_E" : "Bar1_D", at);
            m.caption(QRectF(at + QPoint(-4, 8), QSize(24, 14)), QString::number(i + 1), 9,
                      Qt::white, Qt::AlignLeft | Qt::AlignTop);
        }
    }
    const char* values[] = {"1600", "2400", "3200", "4000", "500", "500", "500", "500"};
    const int steps[] = {3, 5, 7, 8, 1, 1, 1, 1};
    for (int n = 0; n < 8; ++n) {
        const int dy = kLevelPitch * n;
        m.picture(n == 1 ? "CbS_E" : "CbS_D", kLevelCheck + QPoint(0, dy));
        m.caption(QRectF(kLevelCaption + QPoint(0, dy), QSize(40, 16)), QString("DPI%1").arg(n + 1),
                  10, n < 4 ? QColor(255, 0, 0) : Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
        m.caption(QRectF(QPoint(502, 194 + dy), QSize(40, 16)), values[n], 9, Qt::white,
                  Qt::AlignLeft | Qt::AlignVCenter);
        for (int k = 0; k < 8; ++k)
            m.picture(k < steps[n] ? "Bar2_E" : "Bar2_D", kLevelSteps + QPoint(19 * k, dy));
        m.field(QRect(kLevelColour + QPoint(0, dy), QSize(28, 18)), QString::number(n), Qt::black,
                Qt::white);
    }
}

void paintLightPage(Mock& m, const LayoutGeometry& g) {
    for (int i = 0; i < 4; ++i)
        m.picture(i % 2 == 0 ? "RdS_E" : "RdS_D", g.switches[std::size_t(i)]);
    for (std::size_t i = 0; i < g.breathingModes.size(); ++i)
        m.picture(i == 0 ? "RdS_E" : "RdS_D", g.breathingModes[i]);
    for (QPoint t : g.breathingTimes) m.field(QRect(t, QSize(34, 18)), "20", Qt::black, Qt::white);
}

void paintMacroPage(Mock& m, const Captions& c) {
    const QColor green(0, 128, 0);
    auto list = [&](QPoint at, QSize size, QStringList rows) {
        m.painter().fillRect(QRect(at, size), Qt::black);
        for (int i = 0; i < rows.size(); ++i)
            m.caption(QRectF(at + QPoint(4, 20 * i), QSize(size.width() - 4, 20)), rows[i], 9,
                      green, Qt::AlignLeft | Qt::AlignVCenter);
    };
    list(kPcMacroList, {164, 226}, {"Ctrl+C", "Ctrl+V", "Alt+Tab", "Combo 1"});
    list(kMouseMacroList, {176, 116}, {"Combo 1"});
    list(kMacroContentList, {178, 290}, {"LeftKey", "120 ms", "LeftKey"});
    m.picture("MacroS_01", kRecordButton);
    m.caption(QRectF(kRecordButton, QSize(80, 25)), c.record, 9);
    for (int r = 0; r < 3; ++r)
        m.picture(r == 0 ? "RdS_E" : "RdS_D",
                  kDelayGroup + kDelayRows + QPoint(0, kDelayRowPitch * r));
    m.field(QRect(kDelayGroup + kDelayField, QSize(40, 18)), "50", Qt::black, green);
}

// The insert group in place of the delay group, in both of its looks.
bool composeInsertGroups(const PictureWriter& out, const QString& folder) {
    for (bool keys : {true, false}) {
        QImage canvas(QString("%1/page_L2_P4.png").arg(folder));
        if (canvas.isNull()) return false;
        {
            Mock m(out, canvas);
            const QPoint g = kDelayGroup;
            m.picture(keys ? "InsertKeyBase" : "InsertDelayBase", g);
            m.field(QRect(g + QPoint(68, 4), QSize(134, 20)),
                    keys ? "Insert Key Front" : "Insert Delay Front", QColor(24, 26, 31),
                    Qt::white);
            if (keys) {
                const char* rows[] = {"Record Delay", "Default Delay", "No Delay"};
                for (int r = 0; r < 3; ++r) {
                    m.picture(r == 0 ? "RdS_E" : "RdS_D", g + QPoint(20, 34 + 23 * r));
                    m.caption(QRectF(g + QPoint(18, 34 + 23 * r), QSize(120, 16)),
                              QString("       ") + rows[r], 9, Qt::white,
                              Qt::AlignLeft | Qt::AlignVCenter);
                }
                m.picture("MacroS_01", g + QPoint(114, 100));
                m.caption(QRectF(g + QPoint(114, 100), QSize(80, 25)), "Record", 9);
            } else {
                m.caption(QRectF(g + QPoint(62, 57), QSize(74, 16)), "Delay Time", 9, Qt::white,
                          Qt::AlignLeft | Qt::AlignVCenter);
                m.caption(QRectF(g + QPoint(180, 57), QSize(20, 16)), "ms", 9, Qt::white,
                          Qt::AlignLeft | Qt::AlignVCenter);
            }
            m.field(QRect(g + QPoint(136, 55), QSize(40, 18)), "50", Qt::black,
                    keys ? QColor(114, 113, 113) : QColor(0, 128, 0));
            m.picture("MacroBtnS_01", g + QPoint(110, 126));
            m.caption(QRectF(g + QPoint(110, 126), QSize(40, 25)), "OK", 9);
            m.picture("MacroBtnS_02", g + QPoint(156, 126));
            m.caption(QRectF(g + QPoint(156, 126), QSize(40, 25)), "Cancel", 9);
        }
        if (!canvas.save(
                QString("%1/page_L2_P4_insert_%2.png").arg(folder, keys ? "key" : "delay")))
            return false;
    }
    return true;
}

bool composePages(const PictureWriter& out, const QString& folder) {
    for (int layout = 1; layout <= 3; ++layout) {
        const LayoutGeometry g = layoutGeometry(layout);
        const Captions c = captionsOf(layout);
        for (int page = 1; page <= 4; ++page) {
            QImage canvas(800, 600, QImage::Format_ARGB32_Premultiplied);
            canvas.fill(QColor(70, 96, 120));  // the desktop
            {
                Mock m(out, canvas);
                m.background(QString("L%1_BackGround").arg(layout));
                m.picture(QString("L%1_Back%2").arg(layout).arg(page),
                          g.panels[std::size_t(page - 1)]);
                if (page == 1) paintButtonPage(m, g, c);
                if (page == 2) paintAdvancedPage(m);
                if (page == 3) paintLightPage(m, g);
                if (page == 4) paintMacroPage(m, c);
                paintCommon(m, g, c, page);
            }
            if (!canvas.save(QString("%1/page_L%2_P%3.png").arg(folder).arg(layout).arg(page)))
                return false;
        }
    }
    return true;
}

// The busy animation's frames over a piece of the window, black shown see-through.
bool animationStrip(const PictureWriter& out, const QString& folder) {
    QImageReader reader(out.path("WaitGif", "gif"));
    const QImage window(out.path("L1_Back2"));
    QImage strip(6 * 206, 2 * 196, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&strip);
    for (int i = 0; i < 12; ++i) {
        QImage f = reader.read().convertToFormat(QImage::Format_ARGB32);
        if (f.isNull()) return false;
        for (int y = 0; y < f.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(f.scanLine(y));
            for (int x = 0; x < f.width(); ++x)
                if ((line[x] & 0xFFFFFF) == 0) line[x] = 0;
        }
        const QPoint at((i % 6) * 206, (i / 6) * 196);
        p.drawImage(at, window, QRect(300, 60, 206, 196));
        p.drawImage(at + QPoint(3, 2), f);
    }
    return strip.save(folder + "/busy_frames.png");
}

bool contactSheet(const PictureWriter& out, const QString& folder) {
    QStringList names;
    for (const QString& n : out.written())
        if (!n.startsWith("L")) names << n;
    const int columns = 6, cell = 220, rowHeight = 200;
    const int rows = int((names.size() + columns - 1) / columns);
    QImage sheet(columns * cell, rows * rowHeight, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(46, 50, 58));
    QPainter p(&sheet);
    p.setFont(uiFont(11));
    for (int i = 0; i < names.size(); ++i) {
        const QImage img(out.path(names[i]));
        const QPoint cellAt((i % columns) * cell, (i / columns) * rowHeight);
        p.fillRect(QRect(cellAt + QPoint(4, 4), QSize(cell - 8, rowHeight - 8)),
                   (i / columns) % 2 ? QColor(14, 15, 18) : QColor(24, 26, 31));
        const QImage shown = img.width() > cell - 16 ? img.scaledToWidth(cell - 16)
                             : img.width() <= 100    ? img.scaled(img.size() * 2)
                                                     : img;
        p.drawImage(cellAt + QPoint((cell - shown.width()) / 2, 12), shown);
        p.setPen(Qt::white);
        p.drawText(QRect(cellAt + QPoint(0, rowHeight - 34), QSize(cell, 26)), Qt::AlignCenter,
                   QString("%1  %2x%3").arg(names[i]).arg(img.width()).arg(img.height()));
    }
    return sheet.save(folder + "/contact_sheet.png");
}

// Parts of the composed pages at three times their size, to judge edges and small text.
bool zooms(const QString& folder) {
    struct Zoom {
        const char* page;
        QRect area;
    };
    const Zoom list[] = {
        {"page_L1_P2", {560, 30, 240, 80}},   {"page_L1_P2", {30, 488, 300, 80}},
        {"page_L1_P2", {420, 180, 380, 100}}, {"page_L1_P1", {280, 140, 260, 140}},
        {"page_L1_P3", {120, 170, 300, 110}}, {"page_L1_P4", {290, 300, 230, 120}}};
    int n = 0;
    for (const Zoom& z : list) {
        const QImage page(QString("%1/%2.png").arg(folder, z.page));
        const QImage part = page.copy(z.area).scaled(z.area.size() * 3);
        if (!part.save(QString("%1/zoom_%2.png").arg(folder).arg(++n))) return false;
    }
    return true;
}

}  // namespace

bool makePreview(const PictureWriter& out, const QString& folder) {
    return composePages(out, folder) && composeInsertGroups(out, folder) &&
           contactSheet(out, folder) && animationStrip(out, folder) && zooms(folder);
}

}  // namespace art
