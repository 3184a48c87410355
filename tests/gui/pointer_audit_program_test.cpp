// The real program on a private X server, clicked at the centre of each control, in
// both languages: every click must change what the owner sees or what Apply writes into the
// mouse file.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <map>

#include "gui/skin_widgets.h"

#include "window_fixture.h"
// After Qt's headers: it brings Xlib's.
#include "program_driver.h"
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace kvr {
namespace {

constexpr int kConfigFlags = 0;
constexpr int kLedMode = 40;

class PointerAuditProgram : public test::WindowTest {
protected:
    // Whether the window shows a lit scale segment (red) at the point.
    static bool litAt(test::XvfbServer& x, Window w, QPoint p) {
        XImage* image = XGetImage(x.display(), w, p.x(), p.y(), 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) return false;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        const int red = int((pixel >> 16) & 0xFF), green = int((pixel >> 8) & 0xFF);
        return red > green + 60;
    }
};

TEST_F(PointerAuditProgram, LightChoicesAndScaleSegmentsAnswerOneClickInBothLanguages) {
    plugAndRead();
    const QByteArray factory = [] {
        QTemporaryDir d;
        test::writeFactoryMouseFile(d.filePath("f.bin"));
        return test::readFile(d.filePath("f.bin"));
    }();
    ASSERT_EQ(factory.size(), 1024);

    for (int language : {1, 2}) {
        SCOPED_TRACE(language);
        // The same window laid out here, in the same language, tells where each control lies.
        click(QString("Btn_Lang%1_1").arg(language));
        const QPoint lang = test::centreOf(find(QString("Btn_Lang%1_1").arg(language)));
        click("Btn_Breath_1");
        const QPoint breath = test::centreOf(find("Btn_Breath_1"));
        const QStringList choices = {"lbl_MCPIOn", "lbl_LEDKeyOn", "lbl_LEDColorBre1"};
        std::vector<QPoint> choiceAt;
        for (const QString& c : choices) {
            ASSERT_TRUE(find(c)->isVisible()) << c.toStdString();
            choiceAt.push_back(test::centreOf(find(c)));
        }
        const QPoint apply = test::centreOf(find("Btn_Apply_3"));
        click("Btn_Adv_3");
        const QPoint adv = test::centreOf(find("Btn_Adv_3"));
        const QStringList segments = {"Img_Spd2", "Img_DbSpd9", "Img_ScrSpd4"};

        test::ProgramOnFactoryMouse run(QStringLiteral(KVR5507_BINARY));
        ASSERT_NE(run.window, 0u) << "the program did not start on its own X server";
        const Window w = run.window;
        const QString& file = run.file;
        test::XvfbServer& x = run.x;
        test::XdoTool xdo(x.displayName());
        auto clickAt = [&](QPoint p) {
            ASSERT_TRUE(xdo.pointAt(w, p, true));
            ASSERT_TRUE(x.roundTrip(w, std::chrono::seconds(10)));
        };

        clickAt(lang);
        clickAt(breath);
        for (const QPoint& p : choiceAt) clickAt(p);
        clickAt(apply);
        auto written = [&] {
            const QByteArray m = test::readFile(file);
            return m.size() == 1024 && m != factory;
        };
        ASSERT_TRUE(x.waitUntil(written, std::chrono::seconds(15))) << "Apply wrote nothing";
        const QByteArray m = test::readFile(file);
        EXPECT_EQ(quint8(m[kConfigFlags]) & 0x01, 0) << "M+CPI on";
        EXPECT_EQ(quint8(m[kLedMode]) & 0x80, 0x80) << "button effect on";
        EXPECT_EQ(quint8(m[kConfigFlags]) & 0x18, 0x10)
            << "the first breathing mode, not the factory's third";

        // Each scale: its segment lit by the click, the next one dark.
        clickAt(adv);
        for (const QString& s : segments) {
            SCOPED_TRACE(s.toStdString());
            const QPoint at = test::centreOf(find(s));
            const QString next = s.left(s.size() - 1) + QString::number(s.back().digitValue() + 1);
            const QPoint after = test::centreOf(find(next));
            clickAt(at);
            EXPECT_TRUE(litAt(x, w, at));
            EXPECT_FALSE(litAt(x, w, after));
        }
    }
}

// What the window shows, as the server has it.
QImage windowPixels(test::XvfbServer& x, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(x.display(), w, &a)) return {};
    XImage* image = XGetImage(x.display(), w, 0, 0, unsigned(a.width), unsigned(a.height),
                              AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    QImage out;
    if (image->bits_per_pixel == 32) {
        out = QImage(reinterpret_cast<const uchar*>(image->data), a.width, a.height,
                     image->bytes_per_line, QImage::Format_RGB32)
                  .copy();
    }
    XDestroyImage(image);
    return out;
}

// Top-level windows the server shows. A window may go between the listing and the look at it.
int ignoreGoneWindow(Display*, XErrorEvent*) { return 0; }

int viewableTopLevels(test::XvfbServer& x) {
    XSync(x.display(), False);
    const auto previous = XSetErrorHandler(ignoreGoneWindow);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    int viewable = 0;
    if (XQueryTree(x.display(), DefaultRootWindow(x.display()), &root, &parent, &children,
                   &count) &&
        children) {
        for (unsigned int i = 0; i < count; ++i) viewable += x.isViewable(children[i]) ? 1 : 0;
        XFree(children);
    }
    XSync(x.display(), False);
    XSetErrorHandler(previous);
    return viewable;
}

// Whether the two pictures differ outside `ignored`.
bool differ(QImage a, QImage b, const QRegion& ignored) {
    if (a.isNull() || a.size() != b.size()) return true;
    for (const QRect& r : ignored) {
        QPainter(&a).fillRect(r, Qt::black);
        QPainter(&b).fillRect(r, Qt::black);
    }
    return a != b;
}

// A hand on the server itself (XTest): as a pointer and keyboard would, without a process per
// move, so the audit of every control stays quick.
class Hand {
public:
    Hand(test::XvfbServer& x, Window w) : x_(x), w_(w) {}
    void moveTo(QPoint p) {
        int rootX = 0, rootY = 0;
        Window child = 0;
        XTranslateCoordinates(x_.display(), w_, DefaultRootWindow(x_.display()), p.x(), p.y(),
                              &rootX, &rootY, &child);
        XTestFakeMotionEvent(x_.display(), DefaultScreen(x_.display()), rootX, rootY, CurrentTime);
        XFlush(x_.display());
    }
    void click() {
        XTestFakeButtonEvent(x_.display(), 1, True, CurrentTime);
        XTestFakeButtonEvent(x_.display(), 1, False, CurrentTime);
        XFlush(x_.display());
    }
    void clickAt(QPoint p) {
        moveTo(p);
        click();
    }
    void key(KeySym sym) {
        const KeyCode code = XKeysymToKeycode(x_.display(), sym);
        XTestFakeKeyEvent(x_.display(), code, True, CurrentTime);
        XTestFakeKeyEvent(x_.display(), code, False, CurrentTime);
        XFlush(x_.display());
    }

private:
    test::XvfbServer& x_;
    Window w_;
};

struct Control {
    QString name;
    QPoint at;
    bool field = false;
    QRect area;  // in the window
};

class EveryControlAudit : public PointerAuditProgram {
protected:
    // The controls a pointer reaches on the page now shown: a caption something answers, a
    // scale, a field, a list; each where a hand would click it, at its centre.
    std::vector<Control> reachableControls() {
        std::vector<Control> found;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window.get()) || !w->isEnabled() || w->objectName().isEmpty())
                continue;
            auto* caption = qobject_cast<CaptionLabel*>(w);
            // A read-only field (the fixed delay while another delay is chosen) takes no typing.
            auto* field = qobject_cast<QLineEdit*>(w);
            const bool control = (caption && caption->takesClicks()) ||
                                 dynamic_cast<ScaleTrack*>(w) || (field && !field->isReadOnly()) ||
                                 qobject_cast<QAbstractItemView*>(w);
            if (!control) continue;
            const QPoint at = test::centreOf(w);
            QWidget* top = window->childAt(at);
            if (top != w && !w->isAncestorOf(top)) continue;
            found.push_back({w->objectName(), at, field != nullptr,
                             QRect(w->mapTo(window.get(), QPoint(0, 0)), w->size())});
        }
        return found;
    }
};

// Controls the audit leaves unclicked, and why.
const std::map<QString, const char*> kNotClicked = {
    {"Btn_Web", "opens the maker's page in a browser, outside the window"},
    {"Btn_Exit", "ends the program; its question and close have their own tests"},
    {"Btn_Confirm", "writes and ends the program; tested on its own"},
};

// Controls whose click is meant to show nothing at the moment the audit clicks them; they are
// clicked all the same, and must not stop the audit.
const std::map<QString, const char*> kQuietOnPurpose = {
    {"lbl_DPI", "only the highest level in use switches off and only the next one switches on; "
                "a click on any other level does nothing"},
    {"Btn_Start", "records into the selected library macro, and none is selected yet"},
    {"IB_RecDelay", "the recorded delay is the choice already made"},
    {"Trk_", "a scale's centre may be the level the desktop has already; the segments of every "
             "scale have their own audit above"},
};

bool listedIn(const std::map<QString, const char*>& list, const QString& name) {
    for (const auto& [prefix, why] : list) {
        if (name.startsWith(prefix) && !name.endsWith("Value")) return true;
    }
    return false;
}

TEST_F(EveryControlAudit, EveryControlOfEveryPageAnswersAClickInBothLanguages) {
    plugAndRead();
    const QStringList pages = {"Btn_Main", "Btn_Adv", "Btn_Breath", "Btn_Macro"};
    for (int language : {1, 2}) {
        test::ProgramOnFactoryMouse run(QStringLiteral(KVR5507_BINARY));
        ASSERT_NE(run.window, 0u) << "the program did not start on its own X server";
        const Window w = run.window;
        test::XvfbServer& x = run.x;
        Hand hand(x, w);
        auto settle = [&] {
            ASSERT_TRUE(x.roundTrip(w, std::chrono::seconds(10)));
            ASSERT_TRUE(x.roundTrip(w, std::chrono::seconds(10)));
        };
        const int topLevels = viewableTopLevels(x);

        for (int page = 1; page <= 4; ++page) {
            // The same window laid out here tells where each control of this page lies.
            const QString lang = QString("Btn_Lang%1_%2").arg(language).arg(page);
            const QString pageButton = QString("%1_%2").arg(pages[page - 1]).arg(page);
            click(QString("Btn_Lang%1_1").arg(language));
            click(QString("%1_1").arg(pages[page - 1]));
            click(lang);
            const QPoint langAt = test::centreOf(find(lang));
            const QPoint pageAt = test::centreOf(find(pageButton));
            const std::vector<Control> controls = reachableControls();
            QRegion fieldArea;
            for (const QLineEdit* f : window->findChildren<QLineEdit*>()) {
                if (f->isVisibleTo(window.get()))
                    fieldArea += QRect(f->mapTo(window.get(), QPoint(0, 0)), f->size());
            }
            ASSERT_GT(controls.size(), 8u);

            auto showPage = [&](bool language) {
                // What a click opened is closed the way an owner would; the busy window goes by
                // itself.
                for (int i = 0; i < 6 && viewableTopLevels(x) > topLevels; ++i) {
                    hand.key(XK_Escape);
                    settle();
                    x.waitUntil([&] { return viewableTopLevels(x) == topLevels; },
                                std::chrono::milliseconds(500));
                }
                ASSERT_EQ(viewableTopLevels(x), topLevels);
                // A new language lays the whole window out again: only after a language button.
                if (language) hand.clickAt(langAt);
                hand.clickAt(pageAt);
                settle();
            };
            showPage(true);
            for (const Control& c : controls) {
                // The page and the language already shown, and the quiet ones.
                if (c.name == pageButton || c.name == lang || listedIn(kNotClicked, c.name))
                    continue;
                SCOPED_TRACE("language " + std::to_string(language) + ", " + c.name.toStdString());
                hand.moveTo(c.at);
                settle();
                settle();
                // The text cursor of a field blinks, and a caption that scrolls while hovered
                // changes by itself: neither is the click's doing.
                QRegion moving = fieldArea.subtracted(c.area);
                const QImage hovered = windowPixels(x, w);
                settle();
                const QImage later = windowPixels(x, w);
                if (!c.field && differ(hovered, later, moving)) {
                    // Still changing a turn later: an animation, left out where it runs.
                    settle();
                    if (differ(later, windowPixels(x, w), moving)) moving += c.area;
                }
                hand.click();
                // A field's text is replaced by a digit it does not hold.
                if (c.field) {
                    hand.key(XK_End);
                    for (int i = 0; i < 4; ++i) hand.key(XK_BackSpace);
                    hand.key(XK_7);
                }
                // What a click does may take a few turns of the program's event loop.
                bool answered = false;
                for (int turn = 0; turn < 10 && !answered; ++turn) {
                    settle();
                    answered = viewableTopLevels(x) > topLevels ||
                               differ(later, windowPixels(x, w), moving);
                }
                if (!listedIn(kQuietOnPurpose, c.name)) {
                    EXPECT_TRUE(answered) << "the click changed nothing an owner sees";
                }
                showPage(c.name.startsWith("Btn_Lang"));
            }
        }
    }
}

}  // namespace
}  // namespace kvr
