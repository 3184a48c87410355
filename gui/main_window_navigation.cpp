// Page switching, hover feedback, menus, the web button and moving the window.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <QWindow>

#include "gui/desktop_services.h"
#include "gui/dialogs.h"
#include "gui/main_window.h"

#include <QKeyEvent>
#include "gui/skin_widgets.h"
#include "gui/window_controls.h"
#include "base/layout_controls.h"
#include "gui/pages/button_page.h"
#include "gui/pages/macro_editor_page.h"

namespace kvr {

namespace {
const char* const kPageButtons[] = {"Main", "Adv", "Breath", "Macro"};
const char* const kPageChoices[] = {"rb_1", "rb_4", "rb_5", "rb_6"};
constexpr int kMarqueeMs = 200;
}  // namespace

void MainWindow::setPictureOnCopies(const QString& button, const QString& picture) {
    for (int p = 1; p <= 4; ++p) setPicture(QString("Img_%1_%2").arg(button).arg(p), picture);
}

void MainWindow::setPicture(const QString& imageName, const QString& picture) {
    placePicture(imageName, picture);
}

bool MainWindow::placePicture(const QString& imageName, const QString& picture) {
    if (QWidget* made = controls_->findMade(imageName)) {
        auto* image = qobject_cast<SkinImage*>(made);
        return image != nullptr && showPicture(*image, picture);
    }
    // A picture control not made yet takes the picture when its page is made; its size counts
    // for the layout at once.
    if (pageOfControl(imageName.toStdString()) == 0) return false;
    const std::optional<QSize> size = skin_.pictureSize(picture);
    if (!size) return false;
    controls_->setPendingPictureSize(imageName, *size);
    controls_->change(imageName, WindowControls::Change::Picture, [this, picture](QWidget* w) {
        if (auto* image = qobject_cast<SkinImage*>(w)) showPicture(*image, picture);
    });
    return true;
}

bool MainWindow::showPicture(SkinImage& image, const QString& picture) {
    // A control on a page not shown yet gets its picture when the page first shows.
    if (!image.isVisibleTo(this)) {
        const std::optional<QSize> size = skin_.pictureSize(picture);
        if (!size) return false;
        image.setPictureWhenShown(picture, *size, [this, picture] { return skin_.picture(picture); });
        return true;
    }
    std::optional<QPixmap> pixmap = skin_.picture(picture);
    if (!pixmap) return false;
    image.setPicture(*pixmap, picture);
    return true;
}

void MainWindow::Btn_Main_0Click() { switchPage(1); }
void MainWindow::Btn_Adv_0Click() { switchPage(2); }
void MainWindow::Btn_Breath_0Click() { switchPage(3); }
void MainWindow::Btn_Macro_0Click() { switchPage(4); }

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        HideAllMenu();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::switchPage(int p) {
    if (!mouseOpen()) {
        services_.dialogs.message(titleText(), messageText("Str020"));
        return;
    }
    if (errorAppearance_) return;
    HideAllMenu();
    ButtonTypeB_1IconInit();
    setCurrentPage(p);
    showPageContainer(p);
    controls_->find("Disable")->hide();
    if (p == 1) buttonPage_->RefreshProfileKeys();
    setPictureOnCopies(kPageButtons[p - 1], "SetS_02");
    setPicture(QString("Img_P%1").arg(p),
               pages()[std::size_t(p - 1)]->panelPicture(
                   QString("L%1_Back%2").arg(languageIndex()).arg(p)));
}

void MainWindow::setCurrentPage(int p) {
    currentPage_ = p;
    for (int i = 0; i < 4; ++i)
        controls_->get<QRadioButton>(kPageChoices[i])->setChecked(i == p - 1);
}

void MainWindow::showPageContainer(int p) {
    controls_->makePage(p);
    controls_->styleFields(p);
    for (int i = 1; i <= 4; ++i) controls_->page(i)->setVisible(i == p);
    if (p == 4) {
        macroEditorPage_->pageShown();
    }
}

void MainWindow::ButtonTypeB_1IconInit() {
    errorAppearance_ = false;
    for (const char* b : {"Main", "Adv", "Breath", "Macro", "Save", "Load"})
        setPictureOnCopies(b, "SetS_01");
}

void MainWindow::RefreshAPPage() {
    if (errorAppearance_) {
        // Without a mouse page 1 is shown whatever page is current, and the language switch
        // gave only the current page the new panel.
        showPageContainer(1);
        setPicture("Img_P1", QString("L%1_Back1").arg(languageIndex()));
        return;
    }
    showPageContainer(currentPage_);
}

void MainWindow::HideAllMenu() {
    for (WindowPage* page : pages()) page->hideMenus();
}

void MainWindow::ClearAP() { HideAllMenu(); }

void MainWindow::Img_BaseMouseDown() {
    HideAllMenu();
    // The platform drags the window with the pointer until the button is released.
    if (QWindow* w = windowHandle()) w->startSystemMove();
}

void MainWindow::Btn_Web_0Click() {
    setPictureOnCopies("Web", "WebS_02");
    services_.desktop.openAddress(QString::fromStdString(layoutState_.org().WebAddress));
}

namespace {
// Holds the keyboard off the window's edit boxes while a transfer runs: a value typed then would
// show but not be part of the write.
class KeyShield final : public QObject {
public:
    explicit KeyShield(QWidget* window) : window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::InputMethod:
                break;
            default:
                return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget != nullptr && widget->window() == window_;
    }

private:
    QWidget* window_;
};

// A press in the window gives it the keyboard, as a window manager would: without one, the
// keyboard stays wherever a closed dialog left it and typing into a field goes nowhere.
class PressActivates final : public QObject {
public:
    explicit PressActivates(QWidget* window) : QObject(window), window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonPress) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == window_ && !window_->isActiveWindow())
            window_->activateWindow();
        return false;
    }

private:
    QWidget* window_;
};
}  // namespace

void MainWindow::ShowInputShields() {
    if (!keyShield_) keyShield_ = std::make_unique<KeyShield>(this);
    qApp->installEventFilter(keyShield_.get());
    for (int p = 1; p <= 4; ++p) {
        QWidget* shield = controls_->find(QString("Disable_All_%1").arg(p));
        shield->show();
        shield->raise();
    }
}

void MainWindow::HideInputShields() {
    if (keyShield_) qApp->removeEventFilter(keyShield_.get());
    for (int p = 1; p <= 4; ++p) controls_->find(QString("Disable_All_%1").arg(p))->hide();
}

// Hover: which picture family a label belongs to, by its name.
MainWindow::HoverFamily MainWindow::hoverFamilyOf(const QString& label) const {
    const QString base = label.section('_', 0, 1);  // "Btn_Apply" of "Btn_Apply_3"
    static const QStringList kA = {"Btn_Confirm", "Btn_Apply", "Btn_Reset", "Btn_Exit"};
    static const QStringList kB = {"Btn_Main",  "Btn_Adv",  "Btn_Breath",
                                   "Btn_Macro", "Btn_Save", "Btn_Load"};
    static const QStringList kD = {"Btn_Lang1", "Btn_Lang2", "Btn_Lang3"};
    if (kA.contains(base)) return HoverFamily::A;
    if (kB.contains(base)) return HoverFamily::B;
    if (kD.contains(base)) return HoverFamily::D;
    if (base == "Btn_Web") return HoverFamily::Web;
    if (label.startsWith("Key") && label.size() == 4) return HoverFamily::C;
    if (label == "Btn_SaveMacro" || label == "Btn_Start" || label == "Btn_InsertStart")
        return HoverFamily::F;
    if (label == "Btn_OK" || label == "Btn_Cancel") return HoverFamily::G;
    return HoverFamily::H;
}

QString MainWindow::imageUnder(const QString& label) const {
    if (label.startsWith("Key")) return "Img_" + label;
    return "Img_" + label.mid(4);  // "Btn_Apply_2" -> "Img_Apply_2"
}

void MainWindow::labelEntered(const QString& label) {
    const HoverFamily family = hoverFamilyOf(label);
    if (family == HoverFamily::Web) {
        // Without a mouse the web button keeps whatever picture it shows.
        if (mouseOpen()) setPictureOnCopies("Web", "WebS_03");
        return;
    }
    if (family == HoverFamily::H) {
        QWidget* w = controls_->find(label);
        QPalette pal = w->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        pal.setColor(QPalette::Window, palette().color(QPalette::Highlight));
        w->setPalette(pal);
        // A see-through label skips its fill but still hides what lies beneath it: without
        // this the entry showed whatever was drawn there before, outside its panel's look.
        w->setAttribute(Qt::WA_NoSystemBackground, false);
        w->setAutoFillBackground(true);
        return;
    }
    const char* hover = family == HoverFamily::A   ? "BtnS_02"
                        : family == HoverFamily::C ? "KeyS_02"
                        : family == HoverFamily::F ? "MacroS_02"
                        : family == HoverFamily::G ? "MacroBtnS_02"
                                                   : "SetS_03";  // page and language buttons
    // The common buttons of family A light up on all four pages at once.
    if (family == HoverFamily::A)
        setPictureOnCopies(label.section('_', 1, 1), hover);
    else
        setPicture(imageUnder(label), hover);

    QLabel* l = controls_->get<QLabel>(label);
    hover_.begin(label.toStdString(), l->text().toStdString());
    // A disabled label keeps its caption still, even if an earlier hover left the marquee on.
    if (l->isEnabled())
        marquee_.start(kMarqueeMs);
    else
        marquee_.stop();
}

void MainWindow::labelLeft(const QString& label) {
    const HoverFamily family = hoverFamilyOf(label);
    if (family == HoverFamily::Web) {
        if (mouseOpen()) setPictureOnCopies("Web", "WebS_01");
        return;
    }
    if (family == HoverFamily::H) {
        QWidget* w = controls_->find(label);
        QPalette pal = w->palette();
        pal.setColor(QPalette::WindowText, toQColor(layoutState_.values().MacroListTextColor));
        pal.setColor(QPalette::Window, toQColor(layoutState_.values().MacroListBackColor));
        w->setPalette(pal);
        // See-through again: its panel shows beneath, as beneath the entries never hovered.
        w->setAutoFillBackground(false);
        w->setAttribute(Qt::WA_NoSystemBackground, true);
        return;
    }
    marquee_.stop();
    const char* normal = family == HoverFamily::A   ? "BtnS_01"
                         : family == HoverFamily::C ? "KeyS_01"
                         : family == HoverFamily::F ? "MacroS_01"
                         : family == HoverFamily::G ? "MacroBtnS_01"
                                                    : "SetS_01";
    if (family == HoverFamily::A)
        setPictureOnCopies(label.section('_', 1, 1), normal);
    else
        setPicture(imageUnder(label), normal);
    // The selected page and language buttons show as selected again, not as normal.
    if (family == HoverFamily::B) {
        // Without a mouse the window shows page 1 as selected, whatever page was current.
        const int selected = errorAppearance_ ? 1 : currentPage_;
        setPictureOnCopies(kPageButtons[selected - 1], "SetS_02");
    } else if (family == HoverFamily::D) {
        setPictureOnCopies(QString("Lang%1").arg(currentLanguage_), "SetS_02");
    }
    if (QLabel* l = controls_->get<QLabel>(QString::fromStdString(hover_.labelName)))
        l->setText(QString::fromStdString(hover_.savedCaption));
}

void MainWindow::setLabelCaption(const QString& label, const QString& text) {
    QLabel* l = controls_->get<QLabel>(label);
    if (l == nullptr) return;
    // The marquee of a hovered label would otherwise go on scrolling, and leaving restore, the
    // caption the label had when the pointer came.
    if (QString::fromStdString(hover_.labelName).compare(label, Qt::CaseInsensitive) == 0)
        hover_.begin(hover_.labelName, text.toStdString());
    l->setText(text);
}

void MainWindow::LabelRunTimer() {
    const std::string& caption = hover_.tick();
    if (QLabel* l = controls_->get<QLabel>(QString::fromStdString(hover_.labelName)))
        l->setText(QString::fromStdString(caption));
}

void MainWindow::connectNavigation() {
    qApp->installEventFilter(new PressActivates(this));
    marquee_.setInterval(kMarqueeMs);
    connect(&marquee_, &QTimer::timeout, this, &MainWindow::LabelRunTimer);
    for (int p = 1; p <= 4; ++p) {
        const QString n = QString::number(p);
        auto on = [&](const QString& label, void (MainWindow::*handler)()) {
            connect(controls_->caption(label), &CaptionLabel::clicked, this, handler);
        };
        on("Btn_Main_" + n, &MainWindow::Btn_Main_0Click);
        on("Btn_Adv_" + n, &MainWindow::Btn_Adv_0Click);
        on("Btn_Breath_" + n, &MainWindow::Btn_Breath_0Click);
        on("Btn_Macro_" + n, &MainWindow::Btn_Macro_0Click);
        on("Btn_Web_" + n, &MainWindow::Btn_Web_0Click);
        on("Btn_Exit_" + n, &MainWindow::Btn_Exit_0Click);
        on("Btn_Apply_" + n, &MainWindow::Btn_Apply_0Click);
        on("Btn_Confirm_" + n, &MainWindow::Btn_Confirm_0Click);
        on("Btn_Reset_" + n, &MainWindow::Btn_Reset_0Click);
        on("Btn_Lang1_" + n, &MainWindow::Btn_Lang1_0Click);
        on("Btn_Lang2_" + n, &MainWindow::Btn_Lang2_0Click);
        on("Btn_Lang3_" + n, &MainWindow::Btn_Lang3_0Click);
        connect(controls_->image("Img_Base_" + n), &SkinImage::pressed, this,
                [this](QMouseEvent*) { Img_BaseMouseDown(); });
    }
    connectHover(controls_->names());
}

void MainWindow::connectHover(const QStringList& names) {
    for (const QString& name : names) {
        auto* label = qobject_cast<CaptionLabel*>(controls_->findMade(name));
        if (label == nullptr) continue;
        const bool keyLabel = name.size() == 4 && name.startsWith("Key") && name[3] >= '1' &&
                              name[3] <= '9';  // Key1..Key9
        const bool skinned = name.startsWith("Btn_") || keyLabel;
        if (!skinned) continue;
        connect(label, &CaptionLabel::entered, this, [this, name] { labelEntered(name); });
        connect(label, &CaptionLabel::left, this, [this, name] { labelLeft(name); });
    }
}

}  // namespace kvr
