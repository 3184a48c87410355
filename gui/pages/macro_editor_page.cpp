#include "gui/pages/macro_editor_page.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <array>

#include "gui/dialogs.h"
#include "gui/skin.h"
#include "gui/skin_widgets.h"
#include "gui/window_controls.h"
#include "base/layout_state.h"

namespace kvr {

namespace {

// Disabled or read-only texts.
const QColor kGrey(114, 113, 113);

QColor colourOf(const Colour& c) { return QColor(c.red(), c.green(), c.blue()); }

// One row of LB_macro: the delay, press or release icon and the event's name or "N ms".
class EventRowDelegate final : public QStyledItemDelegate {
public:
    EventRowDelegate(const MacroEditor& editor, const LayoutState& layout, QObject* parent)
        : QStyledItemDelegate(parent), editor_(editor), layout_(layout) {
        const std::array<const char*, 3> names = {"MacroIconDelay", "MacroIconPress",
                                                  "MacroIconRelease"};
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (auto image = decodeBuiltInPicture(names[i])) icons_[i] = QPixmap::fromImage(*image);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        // The layout's row height of the macro lists; the layout may change with the language.
        return {option.rect.width(), std::max(layout_.values().MacroNameHeight, 18)};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int row = index.row();
        if (row < 0 || row >= editor_.rowCount()) return;
        const std::string& line = editor_.rowLine(row);
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(r, selected ? option.palette.highlight() : option.palette.base());
        const int side = r.height() - 2;
        const QPixmap& icon = icons_[static_cast<std::size_t>(MacroEditor::rowIcon(line))];
        if (!icon.isNull()) painter->drawPixmap(QRect(r.left() + 2, r.top() + 2, side, side), icon);
        painter->setPen(selected ? option.palette.highlightedText().color()
                                 : option.palette.text().color());
        painter->drawText(QRect(r.left() + 45, r.top(), r.width() - 45, r.height()),
                          Qt::AlignLeft | Qt::AlignVCenter,
                          QString::fromStdString(MacroEditor::rowText(line)));
    }

private:
    const MacroEditor& editor_;
    const LayoutState& layout_;
    std::array<QPixmap, 3> icons_;
};

int delayValue(QLineEdit* edit, int fallback) {
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    if (!ok) return fallback;
    return std::clamp(value, kMinEditDelayMs, kMaxEditDelayMs);
}

}  // namespace

MacroEditorPage::MacroEditorPage(PageHost& host, MacroLibraryAccess& library, InputCapture& capture,
                                 const TickClock& clock)
    : WindowPage(host), library_(library), recorder_(capture, clock, editor_, *this) {
    recorder_.setWakeUp([this] {
        QMetaObject::invokeMethod(this, &MacroEditorPage::takeRecordedInput, Qt::QueuedConnection);
    });
}

bool MacroEditorPage::made() const { return host_.controls().made(kPage); }

void MacroEditorPage::controlsMade(int page) {
    if (page != kPage) return;
    WindowControls& c = host_.controls();

    QListWidget* list = eventList();
    list->setItemDelegate(new EventRowDelegate(editor_, host_.layoutState(), list));
    list->setUniformItemSizes(true);
    connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!rendering_) editor_.select(row);
    });

    auto onClick = [&](const char* name, void (MacroEditorPage::*handler)()) {
        connect(c.get<CaptionLabel>(name), &CaptionLabel::clicked, this, handler);
    };
    onClick("Btn_Start", &MacroEditorPage::Btn_StartClick);
    onClick("Btn_InsertStart", &MacroEditorPage::Btn_InsertStartClick);
    onClick("IB_RecDelay", &MacroEditorPage::IB_RecDelayClick);
    onClick("IB_DelayTime", &MacroEditorPage::IB_DelayTimeClick);
    onClick("IB_NoDelay", &MacroEditorPage::IB_NoDelayClick);
    onClick("IB_InsertRecDelay", &MacroEditorPage::IB_InsertRecDelayClick);
    onClick("IB_InsertDelayTime", &MacroEditorPage::IB_InsertDelayTimeClick);
    onClick("IB_InsertNoDelay", &MacroEditorPage::IB_InsertNoDelayClick);
    onClick("Btn_Del", &MacroEditorPage::Btn_DelClick);
    onClick("Btn_Insert", &MacroEditorPage::Btn_InsertClick);
    onClick("Btn_OK", &MacroEditorPage::Btn_OKClick);
    onClick("Btn_Cancel", &MacroEditorPage::Btn_CancelClick);
    // The click that starts or stops a recording is not part of it.
    for (const char* button : {"Btn_Start", "Btn_InsertStart"}) {
        auto* label = c.get<CaptionLabel>(button);
        connect(label, &CaptionLabel::entered, this, [this] {
            recorder_.setIgnoreLeftClicks(true);
            publishRecordButtonAreas();  // the window may have moved since
        });
        connect(label, &CaptionLabel::left, this, [this] { recorder_.setIgnoreLeftClicks(false); });
    }
    connect(c.get<QLineEdit>("Edt_Delay"), &QLineEdit::editingFinished, this,
            &MacroEditorPage::Edt_DelayChange);
    connect(c.get<QLineEdit>("Edt_InsertDelay"), &QLineEdit::editingFinished, this,
            &MacroEditorPage::Edt_InsertDelayChange);
    connect(c.get<QComboBox>("CB_Insert"), &QComboBox::activated, this,
            &MacroEditorPage::CB_InsertChange);

    for (const char* edit : {"Edt_Delay", "Edt_InsertDelay"}) {
        auto* e = c.get<QLineEdit>(edit);
        e->setMaxLength(5);
        if (e->text().isEmpty()) e->setText("50");
    }
    drawDelayChoices(false);
    renderList();
}

MacroEditorPage::~MacroEditorPage() { recorder_.finish(); }

void MacroEditorPage::languageChanged() {
    if (!made()) return;
    // The layout placed the lamps where the skin's pictures would stand; the dots that stand for
    // them go back into their captions' indents.
    if (!recorder_.recording()) {
        drawDelayChoices(false);
        if (editor_.insertPanelOpen()) drawDelayChoices(true);
    }
    host_.setLabelCaption(
        "Btn_Start",
        host_.messageText(recorder_.recording() && !insertRecording_ ? "Str401" : "Str400"));
    host_.setLabelCaption("Btn_InsertStart",
                          host_.messageText(insertRecording_ ? "Str401" : "Str400"));
    if (editor_.insertPanelOpen()) {
        host_.controls()
            .get<QComboBox>("CB_Insert")
            ->setCurrentIndex(static_cast<int>(editor_.insertChoice()));
        host_.controls().get<QLabel>("Btn_OK")->setText(
            host_.messageText(insertsKeys(editor_.insertChoice()) ? "Str421" : "Str420"));
    }
}

void MacroEditorPage::hideMenus() {
    if (QWidget* panel = host_.controls().findMade("Pnl_DevContent")) panel->hide();
}

QListWidget* MacroEditorPage::eventList() const {
    return host_.controls().get<QListWidget>("LB_macro");
}

void MacroEditorPage::renderList() {
    if (!made()) return;
    QListWidget* list = eventList();
    rendering_ = true;
    while (list->count() > editor_.rowCount()) delete list->takeItem(list->count() - 1);
    while (list->count() < editor_.rowCount()) list->addItem(QString());
    // The delegate draws the rows; the texts are what the rows say, for tests and screen readers.
    for (int row = 0; row < editor_.rowCount(); ++row)
        list->item(row)->setText(
            QString::fromStdString(MacroEditor::rowText(editor_.rowLine(row))));
    list->setCurrentRow(editor_.selectedRow());
    if (editor_.selectedRow() >= 0) list->scrollToItem(list->item(editor_.selectedRow()));
    list->viewport()->update();
    rendering_ = false;
}

void MacroEditorPage::showLines(MacroLines lines, bool fromLibrary) {
    fromLibrary_ = fromLibrary;
    // The header restores the delay mode the macro was recorded with.
    const std::string header = lines.empty() ? "00" : lines.front();
    if (header.starts_with("01")) {
        recordDelay_.mode = RecordDelayMode::Fixed;
        bool ok = false;
        const int value = QString::fromStdString(header.substr(2)).toInt(&ok);
        if (ok) {
            recordDelay_.fixedMs = std::clamp(value, kMinEditDelayMs, kMaxEditDelayMs);
            host_.controls()
                .get<QLineEdit>("Edt_Delay")
                ->setText(QString::number(recordDelay_.fixedMs));
        }
    } else {
        recordDelay_.mode = header == "10" ? RecordDelayMode::Recorded : RecordDelayMode::None;
    }
    if (!recorder_.recording()) drawDelayChoices(false);
    editor_.show(std::move(lines));
    renderList();
}

void MacroEditorPage::clearLines() {
    editor_.clear();
    renderList();
}

void MacroEditorPage::pageShown() {
    const bool open = editor_.insertPanelOpen();
    host_.controls().find("Gb_Delay")->setVisible(!open);
    host_.controls().find("Gb_Insert")->setVisible(open);
    host_.controls().find("Img_InsertBase")->setVisible(open);
}

void MacroEditorPage::setEnabled(const char* name, bool enabled) {
    if (QWidget* w = host_.controls().find(name)) w->setEnabled(enabled);
}

void MacroEditorPage::setColour(const char* name, bool grey, bool listColour) {
    QWidget* w = host_.controls().find(name);
    if (!w) return;
    const LayoutValues& v = host_.layoutState().values();
    const QColor colour =
        grey ? kGrey : colourOf(listColour ? v.MacroListTextColor : v.MacroTextColor);
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    pal.setColor(QPalette::Text, colour);
    w->setPalette(pal);
}

// Recording.

void MacroEditorPage::Btn_StartClick() {
    Edt_DelayChange();
    const MacroRecorder::Click click =
        recorder_.startClick(library_.selectedPCMacro(), recordDelay_);
    if (click == MacroRecorder::Click::Started || click == MacroRecorder::Click::Stopped)
        library_.setMacroDirty();
    followRecordClick(click, &MacroEditorPage::recordingStarted,
                      &MacroEditorPage::recordingStopped);
}

void MacroEditorPage::followRecordClick(MacroRecorder::Click click,
                                        void (MacroEditorPage::*started)(),
                                        void (MacroEditorPage::*stopped)()) {
    switch (click) {
        case MacroRecorder::Click::Started:
            (this->*started)();
            break;
        case MacroRecorder::Click::Stopped:
            (this->*stopped)();
            break;
        case MacroRecorder::Click::Unavailable:
            showCaptureFailure();
            break;
        case MacroRecorder::Click::Ignored:
        case MacroRecorder::Click::Full:
            break;
    }
}

void MacroEditorPage::publishRecordButtonAreas() {
    std::vector<ScreenRect> areas;
    for (const char* name : {"Btn_Start", "Btn_InsertStart"}) {
        const QWidget* button = host_.controls().find(name);
        if (!button || !button->isVisible()) continue;
        // The capture counts the desktop's own pixels; Qt's global positions are scaled.
        const qreal scale = button->devicePixelRatioF();
        const QPoint topLeft = button->mapToGlobal(QPoint(0, 0));
        areas.push_back({qRound(topLeft.x() * scale), qRound(topLeft.y() * scale),
                         qRound(button->width() * scale), qRound(button->height() * scale)});
    }
    recorder_.setRecordButtonAreas(std::move(areas));
}

void MacroEditorPage::recordingStarted() {
    publishRecordButtonAreas();
    fromLibrary_ = true;
    host_.setPicture("Img_Start", "MacroS_03");
    host_.setLabelCaption("Btn_Start", host_.messageText("Str401"));
    setEnabled("Gb_Delay", false);
    setColour("Edt_Delay", true, true);
    DisableMacroLists();
    eventList()->setFocus();
    renderList();
}

void MacroEditorPage::recordingStopped() {
    host_.setPicture("Img_Start", "MacroS_03");
    host_.setLabelCaption("Btn_Start", host_.messageText("Str400"));
    setEnabled("Gb_Delay", true);
    drawDelayChoices(false);
    EnableMacroLists();
    renderList();
}

void MacroEditorPage::storeRecording(int slot, const MacroLines& lines) {
    library_.storePCMacro(slot, lines);
}

void MacroEditorPage::takeRecordedInput() {
    const bool insert = insertRecording_;
    if (recorder_.processPending()) {
        // The limit ended the recording as a Stop click would.
        library_.setMacroDirty();
        if (insert)
            insertRecordingStopped();
        else
            recordingStopped();
        return;
    }
    renderList();
}

// A desktop that cannot be observed at all gets the advice of the current language; any other
// failure gives the system's own reason on the line after it.
void MacroEditorPage::showCaptureFailure() {
    const std::string failure = recorder_.captureFailure();
    QString text;
    if (failure == kCaptureUnavailableText)
        text = host_.messageText("Str113");
    else if (failure.empty())
        text = host_.messageText("Str114");
    else
        text = host_.messageText("Str114") + "\n" + QString::fromStdString(failure);
    host_.dialogs().message(host_.titleText(), text);
}

void MacroEditorPage::DisableMacroLists() {
    setEnabled("LB_MacroName", false);
    setEnabled("LB_macro", false);
}

void MacroEditorPage::EnableMacroLists() {
    setEnabled("LB_MacroName", true);
    setEnabled("LB_macro", true);
}

// Delay modes: only the chosen lamp lights; the delay edit is editable only for a fixed delay.

void MacroEditorPage::setRecordDelayMode(RecordDelayMode mode) {
    if (recorder_.recording() && !insertRecording_) return;
    recordDelay_.mode = mode;
    drawDelayChoices(false);
}

void MacroEditorPage::setInsertDelayMode(RecordDelayMode mode) {
    if (insertRecording_) return;
    insertDelay_.mode = mode;
    drawDelayChoices(true);
}

void MacroEditorPage::drawDelayChoices(bool insert) {
    WindowControls& c = host_.controls();
    const RecordDelay& delay = insert ? insertDelay_ : recordDelay_;
    const char* prefix = insert ? "LED_Insert" : "LED_";
    const std::array<std::pair<const char*, RecordDelayMode>, 3> lamps = {
        {{"RecDelay", RecordDelayMode::Recorded},
         {"DelayTime", RecordDelayMode::Fixed},
         {"NoDelay", RecordDelayMode::None}}};
    for (const auto& [name, mode] : lamps) {
        auto* lamp = qobject_cast<SkinImage*>(c.find(QString(prefix) + name));
        QWidget* choice = c.find(QString(insert ? "IB_Insert" : "IB_") + name);
        if (!lamp || !choice) continue;
        // The skin has no lamp picture: a small red dot in the caption's indent stands for it.
        if (lamp->pictureName().isEmpty()) {
            QPixmap dot(10, 10);
            dot.fill(Qt::transparent);
            QPainter painter(&dot);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xE0, 0x24, 0x30));
            painter.drawEllipse(1, 1, 8, 8);
            lamp->setPicture(dot, "Lamp");
        }
        lamp->setGeometry(choice->x() + 8, choice->y() + (choice->height() - 10) / 2, 10, 10);
        lamp->raise();
        lamp->setVisible(delay.mode == mode &&
                         (!insert || choice->isVisibleTo(choice->parentWidget())));
    }
    const bool fixed = delay.mode == RecordDelayMode::Fixed;
    const char* edit = insert ? "Edt_InsertDelay" : "Edt_Delay";
    c.get<QLineEdit>(edit)->setReadOnly(!fixed);
    setColour(edit, !fixed, true);
    if (insert) setColour("lbl_s_A", !fixed, false);
}

void MacroEditorPage::Edt_DelayChange() {
    auto* edit = host_.controls().get<QLineEdit>("Edt_Delay");
    recordDelay_.fixedMs = delayValue(edit, recordDelay_.fixedMs);
    edit->setText(QString::number(recordDelay_.fixedMs));
}

void MacroEditorPage::Edt_InsertDelayChange() {
    auto* edit = host_.controls().get<QLineEdit>("Edt_InsertDelay");
    insertDelay_.fixedMs = delayValue(edit, insertDelay_.fixedMs);
    edit->setText(QString::number(insertDelay_.fixedMs));
}

// Editing.

void MacroEditorPage::Btn_DelClick() {
    hideMenus();
    const int slot = library_.selectedPCMacro();
    if (!fromLibrary_ || slot < 0 || recorder_.recording()) return;
    if (!editor_.deleteSelected()) return;
    library_.setMacroDirty();
    renderList();
    library_.storePCMacro(slot, editor_.lines());
}

void MacroEditorPage::Btn_InsertClick() {
    hideMenus();
    const int slot = library_.selectedPCMacro();
    if (!fromLibrary_ || slot < 0 || recorder_.recording() || editor_.insertPanelOpen()) return;
    editor_.setTopRow(std::max(eventList()->indexAt(QPoint(1, 1)).row(), 0));
    if (!editor_.openInsertPanel()) return;
    editSlot_ = slot;
    library_.setMacroDirty();
    setEnabled("LB_MacroName", false);
    setEnabled("Btn_Start", false);
    setColour("lbl_s_A", true, false);
    host_.controls().find("Gb_Delay")->hide();
    host_.controls().find("Img_InsertBase")->show();
    host_.controls().find("Gb_Insert")->show();
    host_.controls().get<QComboBox>("CB_Insert")->setCurrentIndex(0);
    CB_InsertChange(0);
}

void MacroEditorPage::CB_InsertChange(int index) {
    if (index < 0 || index > 3) return;
    editor_.setInsertChoice(static_cast<InsertChoice>(index));
    WindowControls& c = host_.controls();
    const bool keys = insertsKeys(editor_.insertChoice());
    host_.setPicture("Img_InsertBase", keys ? "InsertKeyBase" : "InsertDelayBase");
    c.find("lbl_Delay")->setVisible(!keys);
    c.get<QLabel>("Btn_OK")->setText(host_.messageText(keys ? "Str421" : "Str420"));
    for (const char* option : {"InsertRecDelay", "InsertDelayTime", "InsertNoDelay"}) {
        c.find(QString("IB_") + option)->setVisible(keys);
        c.find(QString("LED_") + option)->setVisible(false);
    }
    c.find("Btn_InsertStart")->setVisible(keys);
    c.find("Img_InsertStart")->setVisible(keys);
    auto* edit = c.get<QLineEdit>("Edt_InsertDelay");
    if (keys) {
        insertDelay_.mode = RecordDelayMode::Recorded;
        drawDelayChoices(true);
    } else {
        edit->setReadOnly(false);
        setColour("Edt_InsertDelay", false, true);
        setColour("lbl_s_A", false, false);
    }
}

void MacroEditorPage::Btn_InsertStartClick() {
    Edt_InsertDelayChange();
    followRecordClick(recorder_.insertStartClick(editSlot_, editor_.insertChoice(), insertDelay_),
                      &MacroEditorPage::insertRecordingStarted,
                      &MacroEditorPage::insertRecordingStopped);
}

void MacroEditorPage::insertRecordingStarted() {
    publishRecordButtonAreas();
    insertRecording_ = true;
    host_.setPicture("Img_InsertStart", "MacroS_03");
    host_.setLabelCaption("Btn_InsertStart", host_.messageText("Str401"));
    setEnabled("CB_Insert", false);
    host_.controls().find("GB_Dis")->show();
    for (const char* name : {"IB_InsertRecDelay", "IB_InsertDelayTime", "IB_InsertNoDelay",
                             "Edt_InsertDelay", "lbl_s_A", "Btn_OK", "Btn_Cancel"})
        setColour(name, true, false);
    setEnabled("Btn_OK", false);
    setEnabled("Btn_Cancel", false);
    renderList();
}

void MacroEditorPage::insertRecordingStopped() {
    insertRecording_ = false;
    host_.setPicture("Img_InsertStart", "MacroS_03");
    host_.setLabelCaption("Btn_InsertStart", host_.messageText("Str400"));
    setEnabled("CB_Insert", true);
    host_.controls().find("GB_Dis")->hide();
    for (const char* name :
         {"IB_InsertRecDelay", "IB_InsertDelayTime", "IB_InsertNoDelay", "lbl_s_A"})
        setColour(name, false, false);
    setColour("Edt_InsertDelay", false, true);
    for (const char* name : {"Btn_OK", "Btn_Cancel"}) {
        setEnabled(name, true);
        QWidget* w = host_.controls().find(name);
        QPalette pal = w->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        w->setPalette(pal);
    }
    renderList();
}

void MacroEditorPage::Btn_OKClick() {
    host_.setPicture("Img_OK", "MacroBtnS_03");
    if (!editor_.insertPanelOpen() || insertRecording_) return;
    if (insertsKeys(editor_.insertChoice())) {
        library_.storePCMacro(editSlot_, editor_.lines());
        closeInsertPanel();
        return;
    }
    Edt_InsertDelayChange();
    switch (editor_.insertDelay(insertDelay_.fixedMs)) {
        case MacroEditor::InsertResult::Inserted:
            renderList();
            library_.storePCMacro(editSlot_, editor_.lines());
            closeInsertPanel();
            break;
        case MacroEditor::InsertResult::TooLong:
            host_.dialogs().message(host_.titleText(), host_.messageText("Str103"));
            break;
        case MacroEditor::InsertResult::NoRow:
            break;
    }
}

void MacroEditorPage::Btn_CancelClick() {
    host_.setPicture("Img_Cancel", "MacroBtnS_03");
    if (!editor_.insertPanelOpen() || insertRecording_) return;
    closeInsertPanel();
    // Every uncompiled insertion goes; the stored content is what the list showed at opening.
    editor_.cancelInsert(library_.decodePCMacro(editSlot_));
    renderList();
    if (QListWidgetItem* top = eventList()->item(editor_.topRow()))
        eventList()->scrollToItem(top, QAbstractItemView::PositionAtTop);
}

void MacroEditorPage::closeInsertPanel() {
    host_.controls().find("Gb_Insert")->hide();
    host_.controls().find("Img_InsertBase")->hide();
    editor_.closeInsertPanel();
    setEnabled("LB_MacroName", true);
    setEnabled("Btn_Start", true);
    host_.controls().find("Gb_Delay")->show();
}

}  // namespace kvr
