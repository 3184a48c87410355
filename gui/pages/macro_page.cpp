#include "gui/pages/macro_page.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "gui/dialogs.h"
#include "gui/skin.h"
#include "gui/skin_widgets.h"
#include "gui/window_controls.h"
#include "base/layout_state.h"
#include "base/file_io.h"
#include "base/resources.h"
#include "config/mouse_config.h"
#include "config/setting_words.h"
#include "cycle/device_macros.h"
#include "cycle/profile_file.h"
#include "device/pacer.h"
#include "gui/pages/macro_name_dialog.h"

namespace kvr {

namespace {

constexpr const char* kPcList = "LB_PCMacroName";
constexpr const char* kDeviceList = "LB_MacroName";
constexpr const char* kEventList = "LB_macro";
constexpr const char* kPanels[] = {"Pnl_PCMacro", "Pnl_DevMacro", "Pnl_DevContent"};
const QString kSaveFilter = "SaveFile(*.bin)|*.bin";
const QString kLoadFilter = "LoadFile(*.bin)|*.bin";
// Profiles also come as readable text, the form kvr5507ctl exports; the mouse's blocks come first.
const QString kProfileSaveFilter = kSaveFilter + "|TOML(*.toml)|*.toml";
const QString kProfileLoadFilter = kLoadFilter + "|TOML(*.toml)|*.toml";

// The lists' scroll bars in the skin's colours.
const char* const kScrollBarStyle =
    "QScrollBar:vertical { background: #0d0e11; width: 10px; margin: 0; }"
    "QScrollBar::handle:vertical { background: #4a1a1f; min-height: 20px; border-radius: 4px; }"
    "QScrollBar::handle:vertical:hover { background: #8c1a22; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }";

const QColor kPanelBack(29, 31, 37);
const QColor kPanelBorder(179, 32, 42);

std::span<const std::uint8_t> builtInLibrary() {
    if (auto data = findResource(kDefaultLibraryResource)) return *data;
    return {};
}

std::filesystem::path chosenPath(const QString& file) { return file.toStdString(); }

// A profile named "*.toml" is the settings as text; any other name is the mouse's blocks.
bool isTextProfile(const std::filesystem::path& file) {
    return lower(file.extension().string()) == ".toml";
}

// The text of an event row: the event's name, or the delay with its unit.
QString eventRowText(const MacroLine& line) {
    if (line.size() < 2) return {};
    if (line[0] == '0') return QString::fromStdString(line.substr(2)) + " ms";
    if (line.size() <= 12) return QString::fromStdString(line.substr(2));
    return QString::fromStdString(line.substr(2, line.size() - 12));
}

QIcon eventIcon(char kind) {
    static const QIcon icons[] = {
        QIcon(QPixmap::fromImage(decodeBuiltInPicture("MacroIconDelay").value_or(QImage()))),
        QIcon(QPixmap::fromImage(decodeBuiltInPicture("MacroIconPress").value_or(QImage()))),
        QIcon(QPixmap::fromImage(decodeBuiltInPicture("MacroIconRelease").value_or(QImage()))),
    };
    if (kind < '0' || kind > '2') return {};
    return icons[kind - '0'];
}

}  // namespace

MacroPage::MacroPage(PageHost& host, ButtonModel& buttons, DeviceMacros& deviceMacros,
                     ProfileFiles& profileFiles)
    : WindowPage(host),
      buttons_(buttons),
      library_({}),
      deviceMacros_(deviceMacros),
      profileFiles_(profileFiles) {
    library_.CheckPCMacro(builtInLibrary());
    WindowControls& c = host_.controls();
    // Save and Load Profile are on every page, made with the window.
    for (int p = 1; p <= 4; ++p) {
        if (CaptionLabel* save = c.caption(QString("Btn_Save_%1").arg(p)))
            connect(save, &CaptionLabel::clicked, this, &MacroPage::Btn_Save_0Click);
        if (CaptionLabel* load = c.caption(QString("Btn_Load_%1").arg(p)))
            connect(load, &CaptionLabel::clicked, this, &MacroPage::Btn_Load_0Click);
    }
}

bool MacroPage::made() const { return host_.controls().made(kPage); }

void MacroPage::controlsMade(int page) {
    if (page != kPage) return;
    if (events_) events_->controlsMade(page);
    WindowControls& c = host_.controls();
    const auto on = [&](const char* name, void (MacroPage::*handler)()) {
        if (CaptionLabel* label = c.caption(name))
            connect(label, &CaptionLabel::clicked, this, handler);
    };
    on("Btn_NewMacro", &MacroPage::Btn_NewMacroClick);
    on("Btn_NewName", &MacroPage::Btn_NewNameClick);
    on("Btn_DelPCMacro", &MacroPage::Btn_DelPCMacroClick);
    on("Btn_ImportOne", &MacroPage::Btn_ImportOneClick);
    on("Btn_Import", &MacroPage::Btn_ImportClick);
    on("Btn_ExportOne", &MacroPage::Btn_ExportOneClick);
    on("Btn_Export", &MacroPage::Btn_ExportClick);
    on("Btn_AddMacro", &MacroPage::Btn_AddMacroClick);
    on("Btn_DelMacro", &MacroPage::Btn_DelMacroClick);
    on("Btn_DevExport", &MacroPage::Btn_DevExportClick);

    const int itemHeight = host_.layoutState().values().MacroNameHeight;
    for (const char* name : {kPcList, kDeviceList}) {
        QListWidget* l = list(name);
        l->setUniformItemSizes(true);
        l->setStyleSheet(WindowControls::fieldStyle(l) +
                         QString("QListWidget::item { height: %1px; }").arg(itemHeight));
    }
    for (const char* name : {kPcList, kDeviceList, kEventList}) {
        QListWidget* l = list(name);
        l->verticalScrollBar()->setStyleSheet(kScrollBarStyle);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->viewport()->installEventFilter(this);
    }
    list(kEventList)->setIconSize(QSize(16, 16));
    for (const char* name : kPanels) {
        c.find(name)->installEventFilter(this);
    }
    fitPanels();
    connect(list(kEventList), &QListWidget::itemClicked, this, [this] { hideMenus(); });
    RefreshPCMacroName();
    fillDeviceList();
    if (macroButtonsShown_) showMacroButtons();
}

MacroPage::~MacroPage() {
    if (nameDialog_) delete nameDialog_.data();
}

QListWidget* MacroPage::list(const char* name) const {
    return host_.controls().get<QListWidget>(name);
}

int MacroPage::selectedRow(const char* name) const {
    const QList<QListWidgetItem*> selected = list(name)->selectedItems();
    return selected.isEmpty() ? -1 : list(name)->row(selected.first());
}

void MacroPage::selectRow(const char* name, int row) {
    QListWidget* l = list(name);
    l->clearSelection();
    if (row < 0 || row >= l->count()) return;
    l->setCurrentRow(row);
    l->item(row)->setSelected(true);
}

void MacroPage::useLibraryFile(const std::filesystem::path& file) {
    library_ = PCMacroLibrary(file);
    const LibraryResult result = library_.CheckPCMacro(builtInLibrary());
    reportUnreadFile(result, library_.path());
}

std::vector<std::string> MacroPage::deviceMacroNames() { return deviceMacros().table().names(); }

void MacroPage::languageChanged() {
    if (nameDialog_) nameDialog_->close();
    if (!made()) return;
    if (events_) events_->languageChanged();
    fitPanels();
}

void MacroPage::fitPanels() {
    constexpr int kMinWidth = 130;
    constexpr int kPadding = 10;
    for (const char* name : kPanels) {
        QWidget* panel = host_.controls().find(name);
        const QList<CaptionLabel*> entries =
            panel->findChildren<CaptionLabel*>(QString(), Qt::FindDirectChildrenOnly);
        int width = kMinWidth;
        for (CaptionLabel* e : entries)
            width = std::max(width, e->fontMetrics().horizontalAdvance(e->text()) + 2 * kPadding);
        for (CaptionLabel* e : entries) {
            // The layout fills each entry with the list colour, which would hide the plate.
            e->setAutoFillBackground(false);
            e->setIndent(kPadding);
            e->resize(width, e->height());
        }
        panel->resize(width, panel->height());
    }
}

void MacroPage::hideMenus() {
    for (const char* panel : kPanels)
        if (QWidget* w = host_.controls().findMade(panel)) w->hide();
}

void MacroPage::deviceLost() { clearEventList(); }

void MacroPage::clearEventList() {
    // The lines of a recording that is still running stay until it stops.
    if (events_ && events_->recorder().recording()) return;
    if (events_)
        events_->clearLines();
    else if (made())
        list(kEventList)->clear();
}

void MacroPage::showMacroButtons() {
    macroButtonsShown_ = true;
    if (!made()) return;
    for (const char* b : {"Btn_NewName", "Btn_NewMacro", "Btn_DelMacro"})
        host_.controls().find(b)->show();
}

void MacroPage::clearMacroTexts() {
    lines_.clear();
    if (!made()) return;
    for (const char* m : {"mmo_macro", "mmo_wrscript"})
        host_.controls().get<QPlainTextEdit>(m)->clear();
}

QString MacroPage::hexText() const {
    // Nothing was shown on a page never made.
    if (!made()) return {};
    return host_.controls().get<QPlainTextEdit>("mmo_wrscript")->toPlainText();
}

void MacroPage::clearShownMacro() {
    clearEventList();
    clearMacroTexts();
}

void MacroPage::RefreshPCMacroName() {
    if (!made()) return;
    QListWidget* l = list(kPcList);
    l->clear();
    for (const std::string& name : library_.names()) l->addItem(qText(name));
    l->scrollToBottom();
    if (CaptionLabel* add = host_.controls().caption("Btn_NewMacro"))
        add->setEnabled(!library_.full());
}

void MacroPage::RefreshMacroName2() {
    fillDeviceList();
    clearEventList();
    emit deviceMacrosChanged();
}

void MacroPage::fillDeviceList() {
    if (!made()) return;
    QListWidget* devices = list(kDeviceList);
    devices->clear();
    for (const std::string& name : deviceMacroNames()) devices->addItem(qText(name));
}

void MacroPage::showContent(const MacroContent& content, bool fromLibrary) {
    const std::size_t length = macroLength(content);
    host_.controls()
        .get<QPlainTextEdit>("mmo_wrscript")
        ->setPlainText(QString::fromStdString(hexBytes(std::span(content).first(length))));
    const DecodedMacro decoded = DecodeMacroContent(content, host_.cycle().macroSupport());
    lines_ = decoded.lines;
    delayMode_ = decoded.mode;
    QStringList text;
    for (const MacroLine& line : lines_) text << qText(line);
    host_.controls().get<QPlainTextEdit>("mmo_macro")->setPlainText(text.join('\n'));
    if (events_) {
        events_->showLines(lines_, fromLibrary);
        return;
    }
    QListWidget* events = list(kEventList);
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        auto* row = new QListWidgetItem(eventIcon(lines_[i][0]), eventRowText(lines_[i]));
        events->addItem(row);
    }
    if (events->count() > 0) events->setCurrentRow(events->count() - 1);
}

MacroLines MacroPage::decodePCMacro(int slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= library_.count()) return {"00"};
    return DecodeMacroContent(library_.slot(static_cast<std::size_t>(slot)).content,
                              host_.cycle().macroSupport())
        .lines;
}

bool MacroPage::storePCMacro(int slot, const MacroLines& lines) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= library_.count()) return false;
    const std::optional<CompiledMacro> compiled = CompileMacroLines(lines);
    if (!compiled) {
        host_.dialogs().message(host_.titleText(), host_.messageText("Str103"));
        return false;
    }
    const LibraryResult result = library_.setContent(static_cast<std::size_t>(slot), compiled->content);
    if (result == LibraryResult::FileError) showFileError("Str110", library_.error());
    if (result != LibraryResult::Done) return false;
    host_.controls().get<QPlainTextEdit>("mmo_wrscript")->setPlainText(qText(compiled->hexText));
    QStringList text;
    for (const MacroLine& line : lines) text << qText(line);
    host_.controls().get<QPlainTextEdit>("mmo_macro")->setPlainText(text.join('\n'));
    return true;
}

void MacroPage::setMacroDirty() { host_.cycle().setMacroDirty(true); }

void MacroPage::LB_PCMacroNameClick() {
    hideMenus();
    // A running recording keeps its lines; it goes to the entry it started with.
    if (events_ && events_->recorder().recording()) return;
    clearShownMacro();
    const int row = selectedRow(kPcList);
    if (row < 0 || static_cast<std::size_t>(row) >= library_.count()) return;
    const MacroContent& content = library_.slot(static_cast<std::size_t>(row)).content;
    if (macroLength(content) <= 1) return;
    showContent(content, true);
}

void MacroPage::LB_MacroNameClick() {
    hideMenus();
    clearShownMacro();
    const int row = selectedRow(kDeviceList);
    const DeviceMacroTable& table = deviceMacros().table();
    if (row < 0 || !deviceMacros().macroSupport() || !table.address(static_cast<std::size_t>(row)))
        return;
    showContent(table.slot(static_cast<std::size_t>(row)).content, false);
}

void MacroPage::openNameDialog(NameRequest request) {
    nameRequest_ = request;
    if (nameDialog_) nameDialog_->close();
    QWidget* owner = host_.controls().page(4)->window();
    // Captions of the current language, read when the dialog opens.
    const TextLookup texts = host_.layoutState().languageText();
    nameDialog_ = new MacroNameDialog(
        {qText(texts("Str510")), qText(texts("Str511")), qText(texts("Str512"))}, owner);
    connect(nameDialog_.data(), &MacroNameDialog::confirmed, this, &MacroPage::ApplyMacroName);
    nameDialog_->show();
}

void MacroPage::Btn_NewMacroClick() {
    hideMenus();
    if (library_.full()) return;
    clearShownMacro();
    openNameDialog(NameRequest::NewMacro);
}

void MacroPage::Btn_NewNameClick() {
    if (selectedRow(kPcList) < 0) return;
    hideMenus();
    openNameDialog(NameRequest::Rename);
}

void MacroPage::ApplyMacroName(const QString& name) {
    if (name.isEmpty()) return;
    const NameRequest request = nameRequest_;
    nameRequest_ = NameRequest::None;
    const std::string text = name.toStdString();
    LibraryResult result = LibraryResult::NoSuchEntry;
    int select = -1;
    if (request == NameRequest::Rename) {
        select = selectedRow(kPcList);
        if (select < 0) return;
        result = library_.rename(static_cast<std::size_t>(select), text);
    } else if (request == NameRequest::NewMacro) {
        select = static_cast<int>(library_.count());
        result = library_.addEntry(text);
    }
    if (result == LibraryResult::Duplicate) {
        host_.dialogs().message(host_.titleText(), host_.messageText("Str106"));
        return;
    }
    if (result == LibraryResult::FileError) showFileError("Str110", library_.error());
    if (result != LibraryResult::Done) return;
    RefreshPCMacroName();
    selectRow(kPcList, select);
}

void MacroPage::Btn_DelPCMacroClick() {
    const int row = selectedRow(kPcList);
    if (row < 0) return;
    hideMenus();
    clearShownMacro();
    const LibraryResult result = library_.remove(static_cast<std::size_t>(row));
    if (result == LibraryResult::FileError) showFileError("Str110", library_.error());
    RefreshPCMacroName();
    if (library_.count() > 0) selectRow(kPcList, std::max(row - 1, 0));
}

void MacroPage::Btn_ImportOneClick() {
    if (library_.count() + 1 >= kPCMacroSlots) return;
    const QString file = host_.dialogs().openFileName(kLoadFilter);
    if (file.isEmpty()) return;
    hideMenus();
    clearShownMacro();
    std::size_t index = 0;
    const LibraryResult result = library_.importOne(chosenPath(file), &index);
    if (result == LibraryResult::Duplicate) {
        host_.dialogs().message(host_.titleText(), host_.messageText("Str106"));
        return;
    }
    if (reportUnreadFile(result, chosenPath(file))) return;
    RefreshPCMacroName();
    selectRow(kPcList, static_cast<int>(index));
}

void MacroPage::Btn_ImportClick() {
    const QString file = host_.dialogs().openFileName(kLoadFilter);
    if (file.isEmpty()) return;
    hideMenus();
    clearShownMacro();
    const LibraryResult result = library_.importAll(chosenPath(file));
    if (reportUnreadFile(result, chosenPath(file))) return;
    RefreshPCMacroName();
}

void MacroPage::Btn_ExportOneClick() {
    const int row = selectedRow(kPcList);
    if (row < 0) return;
    hideMenus();
    const QString file = host_.dialogs().saveFileName(kSaveFilter);
    if (file.isEmpty()) return;
    if (library_.exportOne(static_cast<std::size_t>(row), withBinExtension(chosenPath(file))) ==
        LibraryResult::FileError)
        showFileError("Str110", library_.error());
}

void MacroPage::Btn_ExportClick() {
    const QString file = host_.dialogs().saveFileName(kSaveFilter);
    if (file.isEmpty()) return;
    hideMenus();
    if (library_.exportAll(withBinExtension(chosenPath(file))) == LibraryResult::FileError)
        showFileError("Str110", library_.error());
}

void MacroPage::Btn_AddMacroClick() {
    const int row = selectedRow(kPcList);
    if (row < 0 || !deviceMacros().macroSupport()) return;
    clearShownMacro();
    hideMenus();
    if (!host_.backUpBeforeWrite()) return;
    const auto index = static_cast<std::size_t>(row);
    const AddToMouseOutcome outcome = deviceMacros().Btn_AddMacroClick(library_.slot(index), index + 1);
    if (outcome.refusal) {
        showRefusal(library_.path(), *outcome.refusal);
        return;
    }
    if (outcome.result == AddMacroResult::NoFreeSlot) return;
    RefreshMacroName2();
    if (outcome.result == AddMacroResult::AreaFull)
        host_.dialogs().message(host_.titleText(), host_.messageText("Str103"));
    list(kDeviceList)->scrollToBottom();
}

void MacroPage::Btn_DelMacroClick() {
    const int row = selectedRow(kDeviceList);
    if (row < 0) return;
    hideMenus();
    clearShownMacro();
    if (!host_.backUpBeforeWrite()) return;
    if (!deviceMacros().Btn_DelMacroClick(static_cast<std::size_t>(row))) return;
    RefreshMacroName2();
    selectRow(kDeviceList, std::max(row - 1, 0));
    emit buttonsChanged();
}

void MacroPage::Btn_DevExportClick() {
    const QString file = host_.dialogs().saveFileName(kSaveFilter);
    if (file.isEmpty()) return;
    hideMenus();
    const FileResult saved = profileFiles().exportDeviceMacros(withBinExtension(chosenPath(file)));
    if (!saved) showFileError("Str110", saved.error);
}

bool MacroPage::pressSaveLoad(const char* button) {
    host_.hideAllMenus();
    for (int p = 1; p <= 4; ++p)
        host_.setPicture(QString("Img_%1_%2").arg(button).arg(p), "SetS_02");
    if (host_.mouseOpen()) return true;
    host_.dialogs().message(QString(), host_.messageText("Str020"));
    return false;
}

void MacroPage::Btn_Save_0Click() {
    if (!pressSaveLoad("Save")) return;
    const QString file = host_.dialogs().saveFileName(kProfileSaveFilter);
    if (file.isEmpty()) return;
    if (isTextProfile(chosenPath(file))) {
        saveTextProfile(chosenPath(file));
        return;
    }
    const FileResult saved = profileFiles().save(withBinExtension(chosenPath(file)));
    if (!saved) showFileError("Str110", saved.error);
}

void MacroPage::Btn_Load_0Click() {
    if (!pressSaveLoad("Load")) return;
    const QString file = host_.dialogs().openFileName(kProfileLoadFilter);
    if (file.isEmpty()) return;
    if (isTextProfile(chosenPath(file))) {
        loadTextProfile(chosenPath(file));
        return;
    }
    const ProfileLoad loaded = profileFiles().load(chosenPath(file));
    if (!loaded.read) {
        showFileError("Str111", loaded.read.error);
        return;
    }
    if (loaded.refusal) {
        showRefusal(chosenPath(file), *loaded.refusal);
        return;
    }
    emit buttonsChanged();
}

void MacroPage::saveTextProfile(const std::filesystem::path& file) {
    const std::string text = configText(mouseConfig({host_.cycle(), deviceMacros()}));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const FileResult saved = writeFileAtomically(file, {bytes, text.size()});
    if (!saved) showFileError("Str110", saved.error);
}

void MacroPage::loadTextProfile(const std::filesystem::path& file) {
    const ConfigFileText read = readConfigFile(file);
    if (!read.error.empty() && !read.tooLarge) {
        showFileError("Str111", read.error);
        return;
    }
    // Refused as a whole, with the place of the first fault: nothing on the pages changes.
    QString place = QString::fromStdString(file.string());
    QString reason = QString::fromStdString(read.error);
    if (!read.tooLarge) {
        const auto applied =
            applyConfigText(read.text, file.string(), {host_.cycle(), deviceMacros()});
        const auto* error = std::get_if<ConfigError>(&applied);
        if (!error) {
            // As a loaded binary profile: the pages show it from the images, and the next Apply
            // writes it, the macro area with it.
            profileFiles().DataBufToMemo_OnClick();
            profileFiles().MemoToDataBuf_OnClick();
            emit buttonsChanged();
            return;
        }
        place += QString(":%1:%2").arg(error->line).arg(error->column);
        reason = QString::fromStdString(error->message);
    }
    host_.dialogs().message(host_.titleText(), host_.messageText("Str140").arg(place, reason));
}

void MacroPage::showFileError(const char* key, const std::string& error) {
    host_.dialogs().message(host_.titleText(),
                            host_.messageText(key) + "\n" + QString::fromStdString(error));
}

bool MacroPage::reportUnreadFile(LibraryResult result, const std::filesystem::path& file) {
    if (result == LibraryResult::FileError) showFileError("Str111", library_.error());
    if (result == LibraryResult::Refused) showRefusal(file, library_.refusal());
    return result == LibraryResult::FileError || result == LibraryResult::Refused;
}

void MacroPage::showRefusal(const std::filesystem::path& file, const FileRefusal& refusal) {
    const std::string message =
        refusalMessage(file.string(), refusal, [this](std::string_view key) {
            return host_.messageText(std::string(key).c_str()).toStdString();
        });
    host_.dialogs().message(host_.titleText(), QString::fromStdString(message));
}

bool MacroPage::isPanel(QObject* object) const {
    for (const char* name : kPanels)
        if (object == host_.controls().findMade(name)) return true;
    return false;
}

bool MacroPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && isPanel(watched)) {
        // The context panels draw their own plate under their buttons.
        auto* panel = static_cast<QWidget*>(watched);
        QPainter painter(panel);
        painter.fillRect(panel->rect(), kPanelBack);
        painter.setPen(kPanelBorder);
        painter.drawRect(panel->rect().adjusted(0, 0, -1, -1));
        return true;
    }
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease)
        return false;
    for (const char* name : {kPcList, kDeviceList, kEventList}) {
        QListWidget* l = list(name);
        l->verticalScrollBar()->setStyleSheet(kScrollBarStyle);
        if (watched == l->viewport()) return listMouseEvent(l, static_cast<QMouseEvent*>(event));
    }
    return false;
}

bool MacroPage::listMouseEvent(QListWidget* l, QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    QListWidgetItem* under = l->itemAt(at);
    const bool pcList = l == list(kPcList);
    const bool deviceList = l == list(kDeviceList);

    if (event->type() == QEvent::MouseButtonPress) {
        // A press in one name list leaves no name selected in the other.
        if (pcList) list(kDeviceList)->clearSelection();
        if (deviceList) list(kPcList)->clearSelection();
        if (!under) {
            l->clearSelection();
            hideMenus();
            list(kEventList)->setFocus();
            return true;
        }
        if (event->button() == Qt::RightButton) {
            // The right button selects the row under the pointer as a left click would.
            l->setCurrentItem(under);
            under->setSelected(true);
            if (pcList) LB_PCMacroNameClick();
            if (deviceList) LB_MacroNameClick();
            return true;
        }
        return false;
    }

    // Release.
    if (event->button() == Qt::LeftButton) {
        if (under && pcList)
            QMetaObject::invokeMethod(this, &MacroPage::LB_PCMacroNameClick, Qt::QueuedConnection);
        if (under && deviceList)
            QMetaObject::invokeMethod(this, &MacroPage::LB_MacroNameClick, Qt::QueuedConnection);
        return false;
    }
    if (event->button() != Qt::RightButton) return false;
    const char* panel = nullptr;
    if (pcList) panel = "Pnl_PCMacro";
    if (deviceList && selectedRow(kDeviceList) >= 0) panel = "Pnl_DevMacro";
    if (l == list(kEventList) && selectedRow(kPcList) >= 0 && selectedRow(kEventList) >= 0)
        panel = "Pnl_DevContent";
    if (!panel) return true;
    QWidget* p = host_.controls().find(panel);
    QWidget* page = host_.controls().page(4);
    p->move(page->mapFromGlobal(event->globalPosition().toPoint()));
    p->show();
    p->raise();
    return true;
}

}  // namespace kvr
