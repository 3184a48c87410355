#pragma once
// MainWindow: the skinned 800 x 600 main window. It owns the mouse (link, models, cycle), the pages
// and the skin, and turns device results into what the owner sees.
#include <QColor>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "base/hover_state.h"
#include "base/layout_state.h"
#include "base/layout_target.h"
#include "gui/skin.h"
#include "gui/window_page.h"
#include "cycle/mouse_stack.h"
#include "device/emulated_mouse.h"
#include "macros/tick_clock.h"

class QSystemTrayIcon;

namespace kvr {

class DesktopServices;
class Dialogs;
class HidBackend;
class Pacer;
class PointerSettingsStore;
class BusyWindow;
class SkinImage;
class WindowControls;
class ButtonPage;
class AdvancedPage;
class LightPage;
class MacroPage;
class MacroEditorPage;
class InputCapture;

inline QColor toQColor(Colour c) { return QColor(c.red(), c.green(), c.blue()); }

// What the window needs from the platform; tests pass fakes.
struct AppServices {
    HidBackend& hid;
    Pacer& pacer;
    Dialogs& dialogs;
    DesktopServices& desktop;
    PointerSettingsStore& pointer;
    // Key and button capture for recording; none: the platform's. Tests inject both.
    InputCapture* capture = nullptr;
    const TickClock* clock = nullptr;
};

class MainWindow : public QWidget, public WindowTarget, public PageHost, private PresenceHandler {
    Q_OBJECT
public:
    explicit MainWindow(AppServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    void setBusyWindow(BusyWindow* busy) { busy_ = busy; }
    WindowControls& controls() override { return *controls_; }
    void setPicture(const QString& imageName, const QString& picture) override;
    void setLabelCaption(const QString& label, const QString& text) override;
    ButtonPage& buttonPage() { return *buttonPage_; }
    AdvancedPage& advancedPage() { return *advancedPage_; }
    LightPage& lightPage() { return *lightPage_; }
    MacroPage& macroPage() { return *macroPage_; }
    MacroEditorPage& macroEditorPage() { return *macroEditorPage_; }
    QTimer& presenceTimer() { return presenceTimer_; }

    // Presence and device state.
    DeviceLink& link() { return mouse_.link(); }
    CommandProtocol& protocol() { return mouse_.protocol(); }
    void DevTimerTimer();
    void NoDeviceFound();
    void RefreshErrorAP();
    bool mouseOpen() const override;
    bool errorAppearance() const { return errorAppearance_; }

    // Navigation.
    int languageIndex() const { return layoutState_.LanguageIndex(); }
    const LayoutState& layoutState() const override { return layoutState_; }
    void Btn_Main_0Click();
    void Btn_Adv_0Click();
    void Btn_Breath_0Click();
    void Btn_Macro_0Click();
    void HideAllMenu();
    void hideAllMenus() override { HideAllMenu(); }
    void ClearAP();
    void Img_BaseMouseDown();
    void Btn_Web_0Click();
    void ShowInputShields();
    void HideInputShields();
    void LabelRunTimer();
    void labelEntered(const QString& label);
    void labelLeft(const QString& label);
    const HoverState& hoverState() const { return hover_; }
    QTimer& marquee() { return marquee_; }

    // Language.
    void Btn_Lang1_0Click();
    void Btn_Lang2_0Click();
    void Btn_Lang3_0Click();
    QString messageText(const char* key) const override;
    QString titleText() const override;
    Dialogs& dialogs() override { return services_.dialogs; }
    Pacer& pacer() override { return services_.pacer; }

    // Reading and writing the mouse.
    void Btn_Apply_0Click();
    void Btn_Confirm_0Click();
    void Btn_Reset_0Click();
    void Btn_Exit_0Click();
    ReadWriteCycle& cycle() override { return mouse_.cycle(); }
    bool backUpBeforeWrite() override;
    // A transfer began or ended; a close that came meanwhile is carried out at its end.
    void transferRunning(bool running);
    // A refresh of the pages shows page 1 with the current layout's background.
    void showFirstPageAfterRefresh();
    // After a read: page 1, the no-device appearance ended, the main page when it is current.
    void showMainPageAfterRead();
    ButtonModel& buttonModel() { return mouse_.buttons(); }

    // What the layout and language apply set on the window's controls.
    bool loadPicture(std::string_view image, std::string_view picture) override;
    PictureSize imageSize(std::string_view image) const override;
    void move(std::string_view control, int left, int top) override;
    void setGeometry(std::string_view control, int left, int top, int width, int height) override;
    void setVisible(std::string_view control, bool visible) override;
    void setFontSize(std::string_view control, int points) override;
    void setFontColour(std::string_view control, Colour colour) override;
    void setBackColour(std::string_view control, Colour colour) override;
    void setBorderColour(std::string_view control, Colour colour) override;
    std::string caption(std::string_view control) const override;
    void setCaption(std::string_view control, std::string_view text) override;
    void setEntries(std::string_view control, std::span<const std::string> entries) override;
    int currentPage() const override { return currentPage_; }
    void markCurrentLanguage(int n) override { currentLanguage_ = n; }
    int selectedEntry(std::string_view control) const override;
    void selectEntry(std::string_view control, int index) override;
    void setApplicationTitle(std::string_view title) override;
    void RefreshAPPage() override;
    void resetHover(std::string_view label, std::string_view caption) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Escape closes the open menus and panels.
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class HoverFamily { A, B, C, D, F, G, H, Web };

    void FormCreate();
    void LoadSkinImages();
    // What a transfer does to this window; made before the mouse, which reports to it.
    std::unique_ptr<TransferUi> makeTransferUi();
    // The layout's reserve identity and the busy window's hook on the mouse, once the layout is
    // read; a missing default image is told here.
    void prepareMouse();
    void reportApply(const ApplyResult& result);
    void SwitchLanguage(int n);
    QWidget* control(std::string_view name) const;
    void noDeviceFound() override { NoDeviceFound(); }
    void readDevInfo() override;
    void wrongVariant() override;
    bool awaitsRead() const override;
    // The message that tells why a write did not go to the mouse; false when it went.
    bool reportRefusedWrite(WriteResult result);
    void FormCloseQuery();
    // Settings Apply has not written: asks whether to apply them, drop them or stay. True when
    // the window may close.
    bool settleUnappliedChanges();
    void connectNavigation();
    // The hover feedback of the caption labels among `names` that have a picture family.
    void connectHover(const QStringList& names);
    void switchPage(int p);
    void setCurrentPage(int p);
    void showPageContainer(int p);
    void ButtonTypeB_1IconInit();
    HoverFamily hoverFamilyOf(const QString& label) const;
    QString imageUnder(const QString& label) const;
    // The pressed picture, then a short pause that keeps events flowing.
    void pressCircularButton(const QString& button);
    void pumpedPause();
    void createPages();
    std::array<WindowPage*, 4> pages() const;
    void setPictureOnCopies(const QString& button, const QString& picture);
    // Shows a skin picture on a control (or readies it for when the control first shows);
    // false when the picture is missing.
    bool showPicture(SkinImage& image, const QString& picture);
    // setPicture, false when the control or the picture is missing.
    bool placePicture(const QString& imageName, const QString& picture);
    void shapeWindow();

    AppServices services_;
    Skin skin_;
    LayoutState layoutState_;
    std::unique_ptr<TransferUi> transferUi_;
    MouseStack mouse_;
    std::unique_ptr<WindowControls> controls_;
    std::unique_ptr<ButtonPage> buttonPage_;
    std::unique_ptr<AdvancedPage> advancedPage_;
    std::unique_ptr<LightPage> lightPage_;
    std::unique_ptr<InputCapture> platformCapture_;
    SteadyTickClock steadyClock_;
    std::unique_ptr<MacroPage> macroPage_;
    // After the macro page, whose library it records into: it goes first.
    std::unique_ptr<MacroEditorPage> macroEditorPage_;
    QTimer presenceTimer_;
    QTimer marquee_;
    HoverState hover_;
    QSystemTrayIcon* tray_ = nullptr;
    // The first paint asks for the tray icon and takes the first look for the mouse.
    bool firstPainted_ = false;
    BusyWindow* busy_ = nullptr;
    bool errorAppearance_ = false;
    // A close that arrived during a transfer, carried out when the exchange has ended.
    bool closePending_ = false;
    std::unique_ptr<QObject> keyShield_;
    // The no-mouse message as shown, closed by the program when a mouse is then read.
    QString noMouseNotice_;
    int currentPage_ = 1;
    int currentLanguage_ = 1;
    // The memory the last backup of this run holds: a mouse read again as it was needs none.
    std::optional<MouseMemory> backedUp_;
};

}  // namespace kvr
