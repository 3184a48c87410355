#include "gui/window_controls.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <utility>

#include "base/layout_controls.h"
#include "gui/skin_widgets.h"

namespace kvr {

const QStringList kCommonButtonNames = {"Confirm", "Apply", "Reset", "Exit",  "Main",
                                        "Adv",     "Breath", "Macro", "Save", "Load",
                                        "Lang1",   "Lang2", "Lang3"};

const QString kMacroChoiceList = "LB_Name";

const QStringList kLightChoices = {
    "MCPIOn",        "MCPIOff",       "LEDKeyOn",      "LEDKeyOff",     "LEDNTMode1",
    "LEDNTMode2",    "LEDNTMode3",    "LEDNTMode4",    "LEDNTMode5",    "LEDColorMode1",
    "LEDColorMode2", "LEDColorBre1",  "LEDColorBre2",  "LEDColorBre3",  "LEDColorBre4"};

namespace {
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;

// The entries of a menu or context panel, top to bottom, as the layout's control table lists them.
QStringList panelEntries(const std::string& panel) {
    QStringList entries;
    for (const LayoutControl& c : layoutControls())
        if (c.container == panel) entries << QString::fromStdString(c.name);
    return entries;
}

QStringList panelsOn(int page) {
    QStringList panels;
    for (const LayoutControl& c : layoutControls())
        if (c.kind == ControlKind::Panel && c.container == "gbPage" + std::to_string(page))
            panels << QString::fromStdString(c.name);
    return panels;
}

constexpr int kMenuRowHeight = 24;
constexpr int kMainMenuWidth = 190;
constexpr int kSubMenuWidth = 164;

// The choice groups of the light page: a click label over an indicator picture.
const QStringList kLightTimeFields = {
    "edt_LEDNTMode1Time", "edt_LEDNTMode2Time", "edt_LEDNTMode2Hold",
    "edt_LEDNTMode3Time", "edt_LEDNTMode3Count", "edt_OffTime",
    "edt_RiseTime",       "edt_LightTime",       "edt_FallTime"};
constexpr int kContextRowHeight = 22;
constexpr int kContextWidth = 130;

// The common buttons' captions in every language fit their pictures at the layout's sizes only in
// a condensed family; the second is the fallback where the first is not installed.
const QStringList kCaptionFontFamilies = {"Yanone Kaffeesatz", "DejaVu Sans Condensed"};
// Confirm, Apply, Reset and Exit are circles: their captions keep inside the ring.
const QStringList kRoundButtonNames = {"Confirm", "Apply", "Reset", "Exit"};
constexpr int kRoundButtonRing = 5;

// Text of edit boxes and lists wherever the layout gives it no colour: light on the dark fields.
const QColor kFieldTextColour(234, 236, 240);

// Edit boxes, lists and the insert choice in the skin's colours; the layout sets their text
// colours on top. Each field carries its own: a style sheet on the window would put every one of
// its four hundred controls through the style sheet machinery, and slow the start.
const char* const kLineEditStyle =
    "QLineEdit { background: #17191e; border: 1px solid #6b1d22; border-radius: 2px;"
    " padding: 0 2px; selection-background-color: #b3202a; }"
    "QLineEdit:disabled { color: #727171; border-color: #3a3c42; }";
const char* const kListStyle =
    "QListWidget { background: #0d0e11; border: 1px solid #3a3c42; outline: 0; }"
    "QListWidget::item:selected { background: #8c1a22; color: white; }";
const char* const kComboStyle =
    "QComboBox { background: #17191e; border: 1px solid #6b1d22; padding: 0 4px; }"
    "QComboBox QAbstractItemView { background: #1d1f25; color: #eaecf0; border: 1px solid #b3202a;"
    " selection-background-color: #8c1a22; selection-color: white; outline: 0; }";
// The menus and context panels; their entries take their colours from their own sheets.
const char* const kPanelStyle = "QFrame#%1 { background: #1d1f25; border: 1px solid #b3202a; }";
}  // namespace

template <typename T>
T* WindowControls::add(const QString& name, QWidget* parent) {
    auto* w = new T(parent);
    w->setObjectName(name);
    byName_.insert(name.toLower(), w);
    fresh_.push_back(w);
    return w;
}

SkinImage* WindowControls::addImage(const QString& name, QWidget* parent) {
    auto* w = new SkinImage(name, parent);
    byName_.insert(name.toLower(), w);
    fresh_.push_back(w);
    return w;
}

CaptionLabel* WindowControls::addCaption(const QString& name, QWidget* parent) {
    auto* w = new CaptionLabel(name, parent);
    byName_.insert(name.toLower(), w);
    fresh_.push_back(w);
    return w;
}

void WindowControls::addSkinButton(const QString& name, QWidget* parent) {
    addImage("Img_" + name, parent);
    addCaption("Btn_" + name, parent)->raise();
}

SkinImage* WindowControls::image(const QString& name) { return get<SkinImage>(name); }
CaptionLabel* WindowControls::caption(const QString& name) { return get<CaptionLabel>(name); }

QWidget* WindowControls::find(const QString& name) {
    if (QWidget* w = findMade(name)) return w;
    if (name.compare(kMacroChoiceList, Qt::CaseInsensitive) == 0) {
        createMacroChoiceList();
        return findMade(name);
    }
    const int p = pageOfControl(name.toStdString());
    if (p != 0) {
        if (made(p)) return nullptr;
        makePage(p);
        return findMade(name);
    }
    // A control the layout does not address may still be one of a page not made yet.
    for (int q = 2; q <= 4; ++q) makePage(q);
    return findMade(name);
}

void WindowControls::createMacroChoiceList() {
    auto* list = add<QListWidget>(kMacroChoiceList, page(1));
    list->hide();
    list->stackUnder(find("Img_Web_1"));
    giveFieldColours();
    if (fieldsStyled_[0]) list->setStyleSheet(fieldStyle(list));
    if (onMade_) onMade_(1, {kMacroChoiceList});
}

void WindowControls::change(const QString& name, Change kind, std::function<void(QWidget*)> apply) {
    if (QWidget* w = findMade(name)) {
        apply(w);
        return;
    }
    const int p = pageOfControl(name.toStdString());
    if (p == 0 || made(p)) return;
    std::vector<PendingChange>& waiting = pending_[size_t(p - 1)][name.toLower()];
    std::erase_if(waiting, [kind](const PendingChange& c) { return c.kind == kind; });
    waiting.push_back({kind, std::move(apply)});
}

QStringList WindowControls::names() const {
    QStringList list;
    for (QWidget* w : byName_) list << w->objectName();
    list.sort();
    return list;
}

QString WindowControls::panelStyle(const QWidget* panel) {
    return QString(kPanelStyle).arg(panel->objectName());
}

QString WindowControls::fieldStyle(const QWidget* field) {
    if (qobject_cast<const QLineEdit*>(field)) return kLineEditStyle;
    if (qobject_cast<const QListWidget*>(field)) return kListStyle;
    if (qobject_cast<const QComboBox*>(field)) return kComboStyle;
    return {};
}

WindowControls::WindowControls(QWidget* window) {
    for (int p = 1; p <= 4; ++p) {
        auto* page = add<QWidget>(QString("gbPage%1").arg(p), window);
        page->setGeometry(0, 0, kWindowWidth, kWindowHeight);
        pages_[size_t(p - 1)] = page;
    }
    // Creation order is stacking order: background, panel, page controls, common buttons, and
    // the input shield above everything that takes clicks.
    for (int p = 1; p <= 4; ++p) {
        addImage(QString("Img_Base_%1").arg(p), page(p));
        addImage(QString("Img_P%1").arg(p), page(p));
    }
    createButtonsPage(page(1));
    made_ = {true, false, false, false};
    for (int p = 1; p <= 4; ++p) createCommon(p);
    createHiddenChoices(window);
    giveFieldColours();
    styleFields(1);
}

void WindowControls::giveFieldColours() {
    // Set on each field: a colour on the window would not reach through the style sheet.
    for (QWidget* w : fresh_) {
        if (fieldStyle(w).isEmpty()) continue;
        QPalette palette = w->palette();
        palette.setColor(QPalette::Text, kFieldTextColour);
        w->setPalette(palette);
    }
    fresh_.clear();
}

void WindowControls::makePage(int p) {
    if (std::exchange(made_[size_t(p - 1)], true)) return;
    QWidget* container = page(p);
    const qsizetype before = container->children().size();
    if (p == 2) createAdvancedPage(container);
    if (p == 3) createLightPage(container);
    if (p == 4) createMacroPage(container);
    QStringList names;
    for (QWidget* w : fresh_) names << w->objectName();
    // Above the panel and below the web and common buttons and the input shield, as if made
    // with the window.
    QWidget* firstCommon = find(QString("Img_Web_%1").arg(p));
    const QObjectList children = container->children();
    for (qsizetype i = before; i < children.size(); ++i) {
        if (auto* w = qobject_cast<QWidget*>(children[i])) w->stackUnder(firstCommon);
    }
    giveFieldColours();
    if (std::exchange(fieldsStyled_[size_t(p - 1)], false)) styleFields(p);
    QHash<QString, std::vector<PendingChange>> waiting = std::exchange(pending_[size_t(p - 1)], {});
    for (auto it = waiting.cbegin(); it != waiting.cend(); ++it) {
        QWidget* w = findMade(it.key());
        if (w == nullptr) continue;
        for (const PendingChange& c : it.value()) c.apply(w);
        pendingSizes_.remove(it.key());
    }
    if (onMade_) onMade_(p, names);
}

void WindowControls::styleFields(int p) {
    if (std::exchange(fieldsStyled_[size_t(p - 1)], true)) return;
    if (!made(p)) return;
    for (QWidget* w : std::as_const(byName_)) {
        // A field the layout has given a border already carries the field look with it.
        const QString style = fieldStyle(w);
        if (!style.isEmpty() && w->styleSheet().isEmpty() && page(p)->isAncestorOf(w))
            w->setStyleSheet(style);
    }
}

void WindowControls::createCommon(int p) {
    QWidget* parent = page(p);
    const QString suffix = QString("_%1").arg(p);
    addSkinButton("Web" + suffix, parent);
    QFont captionFont = parent->font();
    captionFont.setFamilies(kCaptionFontFamilies);
    for (const QString& name : kCommonButtonNames) {
        addSkinButton(name + suffix, parent);
        CaptionLabel* caption = this->caption("Btn_" + name + suffix);
        caption->setFont(captionFont);
        if (kRoundButtonNames.contains(name)) {
            caption->setContentsMargins(kRoundButtonRing, 0, kRoundButtonRing, 0);
        }
    }
    auto* shield = add<QLabel>("Disable_All" + suffix, parent);
    shield->setGeometry(0, 0, kWindowWidth, kWindowHeight);
    shield->setAttribute(Qt::WA_TranslucentBackground);
    shield->hide();
    shield->raise();
}

void WindowControls::createButtonsPage(QWidget* page) {
    for (int k = 1; k <= 9; ++k) {
        addImage(QString("Img_Key%1").arg(k), page);
        addCaption(QString("Key%1").arg(k), page);
    }
    // The click-catcher over the key area while no mouse is connected.
    auto* catcher = add<QLabel>("Disable", page);
    catcher->setAttribute(Qt::WA_TranslucentBackground);
    catcher->hide();

    for (const QString& name : panelsOn(1)) {
        const QStringList entries = panelEntries(name.toStdString());
        // Its look comes when a menu first opens (ButtonPage): a style sheet costs the start.
        auto* panel = add<QFrame>(name, page);
        const bool main = name == "Pnl_Main";
        const int width = main ? kMainMenuWidth : kSubMenuWidth;
        panel->resize(width, int(entries.size()) * kMenuRowHeight + (main ? 2 : 0));
        panel->setAutoFillBackground(true);
        int top = 0;
        for (const QString& e : entries) {
            CaptionLabel* entry = addCaption(e, panel);
            entry->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            entry->setGeometry(0, top, width, kMenuRowHeight);
            top += kMenuRowHeight;
        }
        panel->hide();
    }
    addCaption("Key_Default", page)->hide();
}

void WindowControls::createAdvancedPage(QWidget* page) {
    for (const char* scale : {"Spd", "DbSpd", "ScrSpd"}) {
        for (int i = 1; i <= 10; ++i) {
            addImage(QString("Img_%1%2").arg(scale).arg(i), page);
            addCaption(QString("lbl_%1%2").arg(scale).arg(i), page);
        }
    }
    for (int n = 1; n <= 8; ++n) {
        auto* colour = add<QLineEdit>(QString("Edt_CPI%1Color").arg(n), page);
        colour->setMaxLength(3);
        colour->resize(28, 18);
        colour->setAlignment(Qt::AlignCenter);
        addImage(QString("Img_DPI%1").arg(n), page);
        CaptionLabel* level = addCaption(QString("lbl_DPI%1").arg(n), page);
        level->setText(QString("DPI%1").arg(n));
        level->resize(34, 18);
        level->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        addCaption(QString("lbl_DPI%1Value").arg(n), page)->resize(40, 18);
        for (int k = 1; k <= 8; ++k) addImage(QString("Img_DPI%1_%2").arg(n).arg(k), page);
    }
    for (const char* field : {"Edt_Repeat1", "Edt_DelayTime1"}) {
        auto* edit = add<QLineEdit>(field, page);
        edit->setMaxLength(3);
        edit->resize(40, 18);
    }
}

void WindowControls::createLightPage(QWidget* page) {
    for (const QString& c : kLightChoices) {
        addImage("Img_" + c, page);
        addCaption("lbl_" + c, page);
    }
    for (const QString& f : kLightTimeFields) {
        auto* edit = add<QLineEdit>(f, page);
        edit->setMaxLength(3);
        edit->resize(36, 18);
        edit->setAlignment(Qt::AlignRight);
    }
}

void WindowControls::createMacroPage(QWidget* page) {
    add<QListWidget>("LB_PCMacroName", page)->resize(164, 226);
    add<QListWidget>("LB_MacroName", page)->resize(190, 120);
    add<QListWidget>("LB_macro", page)->resize(186, 290);
    addSkinButton("Start", page);
    addSkinButton("SaveMacro", page);
    // Storing the macros in the mouse runs from the lists' commands; its button lies off-page.
    find("Img_SaveMacro")->move(kWindowWidth + 100, 0);
    find("Btn_SaveMacro")->move(kWindowWidth + 100, 0);
    // Text stores without a visible surface.
    add<QPlainTextEdit>("mmo_macro", page)->hide();
    add<QPlainTextEdit>("mmo_wrscript", page)->hide();

    auto* delay = add<QFrame>("Gb_Delay", page);
    delay->resize(200, 110);
    for (const char* option : {"RecDelay", "DelayTime", "NoDelay"}) {
        addImage(QString("LED_%1").arg(option), delay);
        CaptionLabel* choice = addCaption(QString("IB_%1").arg(option), delay);
        choice->resize(150, 18);
        choice->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    add<QLineEdit>("Edt_Delay", delay)->resize(40, 18);

    addImage("Img_InsertBase", page)->hide();
    auto* insert = add<QFrame>("Gb_Insert", page);
    insert->resize(207, 162);
    add<QComboBox>("CB_Insert", insert)->resize(132, 20);
    for (const char* option : {"InsertRecDelay", "InsertDelayTime", "InsertNoDelay"}) {
        addImage(QString("LED_%1").arg(option), insert);
        CaptionLabel* choice = addCaption(QString("IB_%1").arg(option), insert);
        choice->resize(150, 18);
        choice->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    add<QLineEdit>("Edt_InsertDelay", insert)->resize(40, 18);
    addCaption("lbl_Delay", insert)->resize(72, 18);
    addCaption("lbl_s_A", insert)->resize(30, 18);
    addSkinButton("InsertStart", insert);
    addSkinButton("OK", insert);
    addSkinButton("Cancel", insert);
    add<QLabel>("GB_Dis", insert)->hide();
    insert->hide();

    for (const QString& name : panelsOn(4)) {
        const QStringList entries = panelEntries(name.toStdString());
        auto* panel = add<QFrame>(name, page);
        panel->setStyleSheet(panelStyle(panel));
        panel->resize(kContextWidth, int(entries.size()) * kContextRowHeight);
        int top = 0;
        for (const QString& b : entries) {
            CaptionLabel* entry = addCaption(b, panel);
            entry->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            entry->setGeometry(0, top, kContextWidth, kContextRowHeight);
            top += kContextRowHeight;
        }
        panel->hide();
    }
}

void WindowControls::createHiddenChoices(QWidget* window) {
    // Option controls that hold page state; never shown.
    QStringList choices = {"rb_1", "rb_4", "rb_5", "rb_6", "rb_Lang1", "rb_Lang2", "rb_Lang3",
                           "rb_MCPIOn", "rb_MCPIOff", "rb_LEDKeyOn", "rb_LEDKeyOff",
                           "rb_InsertRecDelay"};
    for (int n = 1; n <= 8; ++n) choices << QString("rb_DPI%1").arg(n);
    for (int n = 1; n <= 5; ++n) choices << QString("rb_LEDNTMode%1").arg(n);
    for (int n = 1; n <= 2; ++n) choices << QString("rb_LEDColorMode%1").arg(n);
    for (int n = 1; n <= 4; ++n) choices << QString("rb_LEDColorBre%1").arg(n);
    for (const QString& c : choices) {
        auto* rb = add<QRadioButton>(c, window);
        rb->setAutoExclusive(false);
        rb->hide();
    }
}

}  // namespace kvr
