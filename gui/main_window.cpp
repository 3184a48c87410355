#include "gui/main_window.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QSystemTrayIcon>

#include "gui/busy_window.h"
#include "gui/dialogs.h"
#include "gui/memory_release.h"
#include "gui/program.h"
#include "gui/skin_widgets.h"
#include "gui/window_controls.h"
#include "base/resources.h"
#include "gui/pages/button_page.h"
#include "macros/input_capture.h"
#include "gui/pages/macro_editor_page.h"
#include "gui/pages/macro_page.h"
#include "gui/pages/advanced_page.h"
#include "gui/pages/light_page.h"
#include "params/device_images.h"

namespace kvr {

namespace {
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
const QColor kMaroon(128, 0, 0);  // the window's see-through colour
const QString kBackgroundPicture = "L1_BackGround";
const QString kIconPicture = "AppIcon64";
QString pagePanelPicture(int page) { return "L1_Back" + QString::number(page); }
}  // namespace

MainWindow::MainWindow(AppServices services, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window),
      services_(services),
      skin_([this](const QString& message) { services_.dialogs.error(message); }),
      transferUi_(makeTransferUi()),
      mouse_({services.hid, services.pacer, *this, *transferUi_, layoutState_.languageText()}) {
    setObjectName("TForm1");
    setWindowTitle(kMainWindowTitle);
    FormCreate();
    presenceTimer_.setInterval(int(kPresenceTimerInterval.count()));
    connect(&presenceTimer_, &QTimer::timeout, this, &MainWindow::DevTimerTimer);
    presenceTimer_.start();
}

MainWindow::~MainWindow() = default;

void MainWindow::FormCreate() {
    // The first page's large pictures decode beside the building of the controls.
    skin_.decodeAhead({kBackgroundPicture, pagePanelPicture(1), kIconPicture});

    errorAppearance_ = false;
    currentPage_ = 1;

    // Centred by integer division: on a screen narrower than the window the left edge is
    // negative, and the window keeps its size.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->geometry()
                             : QRect(0, 0, kWindowWidth, kWindowHeight);
    setFixedSize(kWindowWidth, kWindowHeight);
    QWidget::move(screen.left() + (screen.width() - kWindowWidth) / 2,
                  screen.top() + (screen.height() - kWindowHeight) / 2);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kMaroon);
    setPalette(pal);
    setAutoFillBackground(true);

    controls_ = std::make_unique<WindowControls>(this);
    controls_->page(1)->show();
    for (int p = 2; p <= 4; ++p) controls_->page(p)->hide();
    controls_->get<QRadioButton>("rb_1")->setChecked(true);
    controls_->get<QRadioButton>("rb_Lang1")->setChecked(true);
    connectNavigation();
    createPages();
    // A page's own controls made later are drawn by their page at once.
    controls_->setOnMade([this](int p, const QStringList& names) {
        connectHover(names);
        for (WindowPage* page : pages()) page->controlsMade(p);
    });

    if (std::optional<QPixmap> icon = skin_.picture(kIconPicture)) setWindowIcon(*icon);
    LoadSkinImages();
    reportApply(layoutState_.LoadOrgSection(*this));
    // The first language's switch applies its layout and captions: once, not twice.
    Btn_Lang1_0Click();
    prepareMouse();
    mouse_.cycle().InitNoDevice();
    advancedPage_->refreshPointerSettings();

    mouse_.link().closeHandle();
    update();
}

void MainWindow::createPages() {
    buttonPage_ = std::make_unique<ButtonPage>(*this, mouse_.buttons(), mouse_.naming());
    advancedPage_ = std::make_unique<AdvancedPage>(*this, mouse_.sensitivity(), services_.pointer);
    lightPage_ = std::make_unique<LightPage>(*this, mouse_.light());
    macroPage_ = std::make_unique<MacroPage>(*this, mouse_.buttons(), mouse_.deviceMacros(),
                                             mouse_.profileFiles());
    InputCapture* capture = services_.capture;
    if (!capture) {
        platformCapture_ = std::make_unique<DeferredCapture>(makeInputCapture);
        capture = platformCapture_.get();
    }
    macroEditorPage_ = std::make_unique<MacroEditorPage>(
        *this, *macroPage_, *capture, services_.clock ? *services_.clock : steadyClock_);
    macroPage_->setEventList(*macroEditorPage_);
    connect(macroPage_.get(), &MacroPage::buttonsChanged, buttonPage_.get(), &ButtonPage::render);
    buttonPage_->setDeviceMacros([this]() -> const DeviceMacros& { return mouse_.deviceMacros(); });
    connect(macroPage_.get(), &MacroPage::deviceMacrosChanged, buttonPage_.get(),
            &ButtonPage::deviceMacrosChanged);
}

std::array<WindowPage*, 4> MainWindow::pages() const {
    return {buttonPage_.get(), advancedPage_.get(), lightPage_.get(), macroPage_.get()};
}

void MainWindow::LoadSkinImages() {
    for (int p = 1; p <= 4; ++p) {
        const QString n = QString::number(p);
        setPicture("Img_Base_" + n, kBackgroundPicture);
        setPicture("Img_P" + n, pagePanelPicture(p));
        setPicture("Img_Web_" + n, "WebS_01");
        for (const char* b : {"Confirm", "Apply", "Reset", "Exit"})
            setPicture(QString("Img_%1_%2").arg(b).arg(p), "BtnS_01");
        for (const char* b : {"Main", "Lang1"}) setPicture(QString("Img_%1_%2").arg(b).arg(p), "SetS_02");
        for (const char* b : {"Adv", "Breath", "Macro", "Save", "Load", "Lang2", "Lang3"})
            setPicture(QString("Img_%1_%2").arg(b).arg(p), "SetS_01");
    }
    for (int k = 1; k <= 9; ++k) setPicture(QString("Img_Key%1").arg(k), "KeyS_01");
    for (const char* scale : {"Spd", "DbSpd", "ScrSpd"})
        for (int i = 1; i <= 10; ++i) setPicture(QString("Img_%1%2").arg(scale).arg(i), "Bar1_E");
    for (int n = 1; n <= 8; ++n) {
        setPicture(QString("Img_DPI%1").arg(n), "CbS_D");
        for (int k = 1; k <= 8; ++k) setPicture(QString("Img_DPI%1_%2").arg(n).arg(k), "Bar2_E");
    }
    for (const char* img : {"Img_Start", "Img_InsertStart", "Img_SaveMacro"}) setPicture(img, "MacroS_01");
    for (const char* img : {"Img_OK", "Img_Cancel"}) setPicture(img, "MacroBtnS_01");
    setPicture("Img_InsertBase", "InsertDelayBase");
    shapeWindow();
}

void MainWindow::shapeWindow() {
    // Every maroon pixel of the background is see-through, and so is what it leaves uncovered:
    // the window takes the skin's shape. Alpha plays no part, only the colour.
    std::optional<QPixmap> base = skin_.picture(kBackgroundPicture);
    if (!base) return;
    // The background's own pixels, three bytes each as it is kept (or 32-bit RGB): read straight
    // off it rather than off a window-sized copy.
    QImage colours = base->toImage();
    const bool packed = colours.format() == QImage::Format_RGB888;
    if (!packed) colours = std::move(colours).convertToFormat(QImage::Format_RGB32);
    const QRgb maroon = kMaroon.rgb();
    const auto isMaroon = [&](const uchar* line, int x) {
        if (!packed) return reinterpret_cast<const QRgb*>(line)[x] == maroon;
        const uchar* p = line + 3 * x;
        return qRgb(p[0], p[1], p[2]) == maroon;
    };
    // One bit a pixel, set where the window is see-through.
    QImage seeThrough(kWindowWidth, kWindowHeight, QImage::Format_MonoLSB);
    seeThrough.fill(0);
    for (int y = 0; y < kWindowHeight; ++y) {
        uchar* bits = seeThrough.scanLine(y);
        const uchar* line = y < colours.height() ? colours.constScanLine(y) : nullptr;
        for (int x = 0; x < kWindowWidth; ++x) {
            if (!line || x >= colours.width() || isMaroon(line, x))
                bits[x >> 3] |= uchar(1 << (x & 7));
        }
    }
    setMask(QBitmap::fromImage(seeThrough));
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // The notification-area icon waits for the desktop's answer about its tray: it is asked
    // for once the window has painted. A desktop without one is not an error.
    if (firstPainted_) return;
    firstPainted_ = true;
    QTimer::singleShot(0, this, [this] {
        tray_ = new QSystemTrayIcon(windowIcon(), this);
        if (QSystemTrayIcon::isSystemTrayAvailable()) tray_->show();
        // What the start decoded and dropped on its way to the first paint.
        releaseFreedMemory();
    });
    // The first look for the mouse comes as soon as the window shows, not at the first tick: a
    // page clicked in the first seconds finds the mouse read. Not before: the start-up read
    // would hold the first paint back. A window never painted still looks at the first tick.
    QTimer::singleShot(0, this, [this] {
        if (presenceTimer_.isActive()) DevTimerTimer();
    });
}

void MainWindow::reportApply(const ApplyResult& result) {
    if (!result.ok()) services_.dialogs.error(QString::fromStdString(result.error));
}

void MainWindow::Btn_Lang1_0Click() { SwitchLanguage(1); }
void MainWindow::Btn_Lang2_0Click() { SwitchLanguage(2); }
void MainWindow::Btn_Lang3_0Click() { SwitchLanguage(3); }

void MainWindow::SwitchLanguage(int n) {
    reportApply(layoutState_.SwitchLanguage(n, *this));
    for (int i = 1; i <= 3; ++i)
        controls_->get<QRadioButton>(QString("rb_Lang%1").arg(i))->setChecked(i == n);
    for (WindowPage* page : pages()) page->languageChanged();
}

QString MainWindow::messageText(const char* key) const {
    return QString::fromStdString(layoutState_.messages().text(key));
}

QString MainWindow::titleText() const {
    return QString::fromStdString(layoutState_.messages().TitleText());
}

void MainWindow::Btn_Exit_0Click() { close(); }

void MainWindow::FormCloseQuery() { mouse_.link().closeHandle(); }

bool MainWindow::settleUnappliedChanges() {
    // Apply sets the desktop's pointer settings only with the mouse's own: both count then.
    const bool pending =
        cycle().hasUnappliedChanges() ||
        (cycle().mouseMemory() == MouseReadState::Read && advancedPage_->pointerSettingsPending());
    if (!pending) return true;
    const QStringList buttons = {messageText("Str001"), messageText("Str119"),
                                 messageText("Str422")};
    switch (services_.dialogs.ask(titleText(), messageText("Str116"), buttons, 0, 2)) {
        case 0:
            break;
        case 1:
            return true;
        default:
            return false;
    }
    // As Confirm: the window closes only when the mouse took the settings.
    if (!backUpBeforeWrite()) return false;
    const WriteResult result = cycle().DownloadParameter();
    return !reportRefusedWrite(result) && result == WriteResult::Written;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Dropping the handle mid-exchange would leave a half-written block in the mouse: the close
    // waits for the exchange to end, with the busy window still up.
    if (cycle().transferRunning()) {
        closePending_ = true;
        event->ignore();
        return;
    }
    closePending_ = false;
    if (!settleUnappliedChanges()) {
        event->ignore();
        return;
    }
    FormCloseQuery();
    // A recording still running is kept in its library entry.
    macroEditorPage_->finishRecording();
    event->accept();
    QCoreApplication::quit();
}

}  // namespace kvr
