#include "gui/pages/button_page.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QSet>
#include <utility>

#include "gui/digit_filter.h"
#include "gui/skin_widgets.h"
#include "gui/window_controls.h"
#include "base/layout_state.h"
#include "buttons/function_menu.h"
#include "gui/pages/key_combination_dialog.h"
#include "cycle/data_buf_ui.h"
#include "cycle/device_macros.h"
#include "cycle/read_write_cycle.h"
#include "device/pacer.h"
#include "macros/macro_links.h"

namespace kvr {

namespace {

const QColor kHighlight(0, 128, 128);
// The menu panels are dark; an entry that is not pointed at reads in the skin's light grey.
const QColor kEntryText(0xd8, 0xdb, 0xe2);
constexpr int kMacroRowIndent = 4;

// An entry's look, lit or not. The panel's style sheet reaches its entries, so the entries'
// colours go through one too.
QString entrySheet(bool lit) {
    return QString("QLabel { color: %1; background: %2; padding-left: 3px; }")
        .arg((lit ? QColor(Qt::white) : kEntryText).name(), lit ? kHighlight.name() : "transparent");
}

QString keyLabel(int button) { return QString("Key%1").arg(button); }

QString qname(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QStringList menuEntryControls() {
    QStringList names;
    for (const MenuGroup& g : menuGroups()) {
        names << qname(g.control);
        for (const MenuEntry& e : submenuEntries(g)) names << qname(e.control);
    }
    return names;
}

}  // namespace

ButtonPage::ButtonPage(PageHost& host, ButtonModel& buttons, const CodeNaming& naming)
    : WindowPage(host), buttons_(buttons), naming_(naming) {
    WindowControls& controls = host_.controls();
    for (int k = 1; k <= 9; ++k)
        connect(controls.caption(keyLabel(k)), &CaptionLabel::clicked, this,
                [this, k] { ShowPnlMain_OnClick(k); });
    connect(controls.image("Img_P1"), &SkinImage::pressed, this,
            [this](QMouseEvent*) { ClearAP(); });
    connectMenu();
}

void ButtonPage::controlsMade(int page) {
    // Page 1 is made with the window; told of it, the macro list was made, when first used.
    if (page == kMacroListPage) {
        prepareMacroList();
        return;
    }
    // The fire key's fields lie on the advanced page.
    if (page != kFireKeyPage) return;
    WindowControls& controls = host_.controls();
    for (const char* field : {"Edt_Repeat1", "Edt_DelayTime1"}) {
        auto* edit = controls.get<QLineEdit>(field);
        edit->setAlignment(Qt::AlignRight);
        installDigitFilter(edit);
    }
    auto* repeat = controls.get<QLineEdit>("Edt_Repeat1");
    auto* delay = controls.get<QLineEdit>("Edt_DelayTime1");
    connect(repeat, &QLineEdit::textEdited, this,
            [this](const QString& t) { buttons_.setRepeatText(t.toStdString()); });
    connect(delay, &QLineEdit::textEdited, this,
            [this](const QString& t) { buttons_.setDelayText(t.toStdString()); });
    connect(repeat, &QLineEdit::editingFinished, this, &ButtonPage::RepeatValue_OnClick);
    connect(delay, &QLineEdit::editingFinished, this, &ButtonPage::DelayTimeValue_OnClick);
    showFireKeyFields();
}

ButtonPage::~ButtonPage() {
    if (dialog_) delete dialog_.data();
}

void ButtonPage::connectMenu() {
    WindowControls& controls = host_.controls();
    QSet<QWidget*> panels;
    for (const QString& name : menuEntryControls()) {
        CaptionLabel* entry = controls.caption(name);
        if (entry == nullptr) continue;
        panels.insert(entry->parentWidget());
        // The entry paints its own row when lit; the panel shows through otherwise.
        entry->setAttribute(Qt::WA_TranslucentBackground, false);
        entry->setAttribute(Qt::WA_NoSystemBackground, false);
        setHighlight(entry, false);
        connect(entry, &CaptionLabel::entered, this, [this, name] { KeyByTagMouseEnter(name); });
        connect(entry, &CaptionLabel::left, this, [this, name] { KeyByTagMouseLeave(name); });
        if (menuEntryOf(name.toStdString()) != nullptr)
            connect(entry, &CaptionLabel::clicked, this, [this, name] { KeyStatusOnClick(name); });
    }
    menuPanels_ = panels.values();
    connect(controls.caption("Key_Assembly"), &CaptionLabel::clicked, this,
            &ButtonPage::Key_AssemblyClick);
}

void ButtonPage::styleMenus() {
    // Once, when a menu first opens: the window's start shows no menu and pays no style sheet.
    for (QWidget* panel : std::exchange(menuPanels_, {}))
        panel->setStyleSheet(WindowControls::panelStyle(panel) + entrySheet(false));
}

QListWidget* ButtonPage::macroList() { return host_.controls().get<QListWidget>(kMacroChoiceList); }

void ButtonPage::prepareMacroList() {
    QListWidget* list = macroList();
    list->setFixedWidth(function_menu::kSubWidth);
    list->setStyleSheet(
        QString("QListWidget { background: #1d1f25; border: 1px solid #b3202a; "
                "color: %1; }"
                "QListWidget::item { height: %2px; padding-left: %3px; }"
                "QListWidget::item:hover { background: rgb(0,128,128); color: white; }")
            .arg(kEntryText.name())
            .arg(function_menu::kRowHeight)
            .arg(kMacroRowIndent));
    connect(list, &QListWidget::itemClicked, this,
            [this, list](QListWidgetItem* item) { LB_NameClick(list->row(item)); });
    fillMacroList(macroNames());
}

std::string ButtonPage::text(std::string_view key) const {
    return naming_.texts ? naming_.texts(key) : std::string();
}

void ButtonPage::render() {
    showFireKeyFields();
    RefreshProfileKeys();
}

void ButtonPage::showFireKeyFields() {
    WindowControls& controls = host_.controls();
    if (!controls.made(kFireKeyPage)) return;
    controls.get<QLineEdit>("Edt_Repeat1")->setText(qText(buttons_.repeatText()));
    controls.get<QLineEdit>("Edt_DelayTime1")->setText(qText(buttons_.delayText()));
}

void ButtonPage::RefreshProfileKeys() {
    kvr::RefreshProfileKeys(buttons_, naming_);
    showCaptions();
    host_.pacer().pump();
}

void ButtonPage::showCaptions() {
    for (int k = 1; k <= 9; ++k)
        host_.controls().get<QLabel>(keyLabel(k))->setText(qText(buttons_.caption(k)));
}

void ButtonPage::hideMenus() {
    WindowControls& controls = host_.controls();
    for (const char* menu :
         {"Pnl_Main", "Pnl_MseKey", "Pnl_Special", "Pnl_Media", "Pnl_WWW", "Pnl_MyPC"}) {
        if (QWidget* w = controls.findMade(menu)) w->hide();
    }
    if (QWidget* list = controls.findMade(kMacroChoiceList)) list->hide();
    // A menu opens again with no entry lit.
    for (const QString& name : menuEntryControls())
        if (CaptionLabel* entry = controls.caption(name)) setHighlight(entry, false);
}

void ButtonPage::closeSubmenus() {
    WindowControls& controls = host_.controls();
    for (const MenuGroup& g : menuGroups())
        if (!g.panel.empty())
            if (QWidget* w = controls.find(qname(g.panel))) w->hide();
}

// The language switch translated the key labels by their shown text; the model keeps what they
// show now.
void ButtonPage::languageChanged() {
    for (int k = 1; k <= 9; ++k)
        buttons_.setCaption(k, host_.controls().get<QLabel>(keyLabel(k))->text().toStdString());
}

void ButtonPage::setHighlight(CaptionLabel* entry, bool on) {
    // An unlit entry takes its panel's rule for entries: a sheet on each of the hundred entries
    // would cost the window's start and every closing of the menus.
    const QString sheet = on ? entrySheet(true) : QString();
    if (entry->styleSheet() != sheet) entry->setStyleSheet(sheet);
    entry->setAutoFillBackground(on);
}

void ButtonPage::ShowPnlMain_OnClick(int button) {
    WindowControls& controls = host_.controls();
    CaptionLabel* label = controls.caption(keyLabel(button));
    setTextColour(label, Qt::white);
    buttons_.selectButton(button);
    // The hover of the label ends: its marquee stops, its caption and picture return to normal.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(label, &leave);
    label->setText(qText(buttons_.caption(button)));
    hideMenus();

    styleMenus();
    QWidget* menu = controls.find("Pnl_Main");
    const QRect l = label->geometry();
    const MenuPoint at = mainMenuAt({l.left() + l.width() / 2, l.top() + l.height() / 2});
    menu->move(at.x, at.y);
    menu->show();
    menu->raise();
}

void ButtonPage::openBeside(QWidget* menu, CaptionLabel* entry) {
    styleMenus();
    const QWidget* main = host_.controls().find("Pnl_Main");
    const QRect m = main->geometry();
    const QRect e = entry->geometry();
    const MenuPoint at =
        submenuAt({m.left(), m.top(), m.width(), m.height()},
                  {e.left(), e.top(), e.width(), e.height()}, menu->width(), menu->height());
    menu->move(at.x, at.y);
    menu->show();
    menu->raise();
}

void ButtonPage::KeyByTagMouseEnter(const QString& name) {
    WindowControls& controls = host_.controls();
    CaptionLabel* entry = controls.caption(name);
    if (entry == nullptr) return;
    setHighlight(entry, true);
    const MenuGroup* group = menuGroupOf(name.toStdString());
    if (group == nullptr) return;  // a submenu entry only lights up

    closeSubmenus();
    if (QWidget* list = controls.findMade(kMacroChoiceList)) list->hide();
    switch (group->kind) {
        case MenuGroupKind::Submenu:
            openBeside(controls.find(qname(group->panel)), entry);
            break;
        case MenuGroupKind::MacroList: {
            const std::vector<std::string> names = macroNames();
            if (names.empty()) break;
            fillMacroList(names);
            openBeside(macroList(), entry);
            break;
        }
        case MenuGroupKind::KeyCombination:
            break;
    }
}

void ButtonPage::KeyByTagMouseLeave(const QString& name) {
    if (CaptionLabel* entry = host_.controls().caption(name)) setHighlight(entry, false);
}

void ButtonPage::KeyStatusOnClick(const QString& name) {
    const MenuEntry* entry = menuEntryOf(name.toStdString());
    CaptionLabel* label = host_.controls().caption(name);
    if (entry == nullptr || label == nullptr) return;
    hideMenus();
    buttons_.KeyStatusOnClick(entry->entry, functionNameOf(label->text().toStdString()),
                              text(kLeftKeyNameKey), host_.cycle().dataBuf());
    showCaptions();
}

void ButtonPage::Key_AssemblyClick() {
    hideMenus();
    host_.pacer().pump();
    buttons_.Key_AssemblyClick();
    if (!dialog_) {
        QWidget* window = host_.controls().page(1)->window();
        dialog_ = new KeyCombinationDialog(window, naming_.texts);
        dialog_->confirmed = [this](const KeyCombinationResult& result) {
            buttons_.setKeyCombination(result);
            ApplyKeyCombination();
        };
        dialog_->cleared = [this] { buttons_.setKeyCombination({}); };
    }
    dialog_->open();
}

void ButtonPage::ApplyKeyCombination() {
    buttons_.ApplyKeyCombination(host_.cycle().dataBuf());
    showCaptions();
}

void ButtonPage::ClearAP() { hideMenus(); }

void ButtonPage::RepeatValue_OnClick() {
    buttons_.RepeatValue_OnClick();
    showFireKeyFields();
}

void ButtonPage::DelayTimeValue_OnClick() {
    buttons_.DelayTimeValue_OnClick();
    showFireKeyFields();
}

void ButtonPage::setDeviceMacros(DeviceMacrosSource source) { deviceMacros_ = std::move(source); }

std::vector<std::string> ButtonPage::macroNames() const {
    if (!deviceMacros_) return {};
    const DeviceMacros& macros = deviceMacros_();
    // A table left from a mouse with macro memory names nothing a button could run now.
    return macros.macroSupport() ? macros.table().names() : std::vector<std::string>{};
}

void ButtonPage::fillMacroList(const std::vector<std::string>& names) {
    QListWidget* list = macroList();
    list->clear();
    for (const std::string& n : names) list->addItem(qText(n));
    list->setFixedHeight(int(names.size()) * function_menu::kRowHeight + 2);
}

void ButtonPage::deviceMacrosChanged() {
    // A list not made yet is filled when it first opens.
    if (!host_.controls().findMade(kMacroChoiceList)) return;
    const std::vector<std::string> names = macroNames();
    fillMacroList(names);
    if (names.empty()) macroList()->hide();
}

void ButtonPage::LB_NameClick(int row) {
    hideMenus();
    if (!deviceMacros_ || row < 0) return;
    const DeviceMacros& macros = deviceMacros_();
    kvr::LB_NameClick(buttons_, host_.cycle().dataBuf(), macros.table(), std::size_t(row),
                      macros.macroSupport());
    showCaptions();
}

}  // namespace kvr
