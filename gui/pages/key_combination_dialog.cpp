#include "gui/pages/key_combination_dialog.h"

#include <QBitmap>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <array>

#include "gui/skin.h"
#include "gui/skin_widgets.h"
#include "macros/native_keys.h"

namespace kvr {

namespace {

constexpr int kWidth = 355;
constexpr int kHeight = 180;
constexpr int kBelowCentre = 40;  // the dialog sits a little below the main window's centre
const QColor kMaroon(128, 0, 0);  // see-through

// Where the dialog's picture frames its controls.
constexpr QRect kTitle{44, 8, 266, 22};
constexpr QRect kCloseBox{318, 8, 24, 22};
constexpr QRect kEditWell{24, 50, 307, 30};
constexpr QRect kTickRow{24, 88, 307, 24};
constexpr QRect kConfirmPlate{61, 128, 110, 30};
constexpr QRect kCancelPlate{183, 128, 110, 30};

// Every key outside the runs of letters, digits and function keys. A keypad row matches only a
// key of the numeric pad; the others match wherever the key lies (Enter and, with Num Lock off,
// the pad's navigation keys are the same keys to the mouse). The Windows keys and the modifiers
// are listed so that pressing them counts as a press.
struct KeyMap {
    int qtKey;
    bool keypad;
    int virtualKey;
};

constexpr KeyMap kKeyMap[] = {
    {Qt::Key_Asterisk, true, 0x6A},
    {Qt::Key_Plus, true, 0x6B},
    {Qt::Key_Comma, true, 0x6C},
    {Qt::Key_Minus, true, 0x6D},
    {Qt::Key_Period, true, 0x6E},
    {Qt::Key_Slash, true, 0x6F},
    {Qt::Key_Backspace, false, 0x08},
    {Qt::Key_Tab, false, 0x09},
    {Qt::Key_Backtab, false, 0x09},
    {Qt::Key_Clear, false, 0x0C},
    {Qt::Key_Return, false, 0x0D},
    {Qt::Key_Enter, false, 0x0D},
    {Qt::Key_Shift, false, 0x10},
    {Qt::Key_Control, false, 0x11},
    {Qt::Key_Alt, false, 0x12},
    {Qt::Key_AltGr, false, 0xA5},
    {Qt::Key_Pause, false, 0x13},
    {Qt::Key_CapsLock, false, 0x14},
    {Qt::Key_Escape, false, 0x1B},
    {Qt::Key_Space, false, 0x20},
    {Qt::Key_PageUp, false, 0x21},
    {Qt::Key_PageDown, false, 0x22},
    {Qt::Key_End, false, 0x23},
    {Qt::Key_Home, false, 0x24},
    {Qt::Key_Left, false, 0x25},
    {Qt::Key_Up, false, 0x26},
    {Qt::Key_Right, false, 0x27},
    {Qt::Key_Down, false, 0x28},
    {Qt::Key_Select, false, 0x29},
    {Qt::Key_Print, false, 0x2C},
    {Qt::Key_Insert, false, 0x2D},
    {Qt::Key_Delete, false, 0x2E},
    {Qt::Key_Help, false, 0x2F},
    {Qt::Key_Meta, false, 0x5B},
    {Qt::Key_Super_L, false, 0x5B},
    {Qt::Key_Super_R, false, 0x5C},
    {Qt::Key_Menu, false, 0x5D},
    {Qt::Key_NumLock, false, 0x90},
    {Qt::Key_ScrollLock, false, 0x91},
    // The OEM keys by their unshifted characters (US layout); "+" is the plus key of layouts
    // that have one unshifted.
    {Qt::Key_Semicolon, false, 0xBA},
    {Qt::Key_Slash, false, 0xBF},
    {Qt::Key_QuoteLeft, false, 0xC0},
    {Qt::Key_BracketLeft, false, 0xDB},
    {Qt::Key_Backslash, false, 0xDC},
    {Qt::Key_BracketRight, false, 0xDD},
    {Qt::Key_Apostrophe, false, 0xDE},
    {Qt::Key_Equal, false, 0xBB},
    {Qt::Key_Plus, false, 0xBB},
    {Qt::Key_Comma, false, 0xBC},
    {Qt::Key_Minus, false, 0xBD},
    {Qt::Key_Period, false, 0xBE},
    // The ISO key left of Z; "<" is a shifted comma on US maps, so only the unshifted one counts.
    {Qt::Key_Less, false, 0xE2},
    // F13..F18 as xkb's default layout sends them.
    {Qt::Key_Tools, false, 0x7C},
    {Qt::Key_Launch5, false, 0x7D},
    {Qt::Key_Launch6, false, 0x7E},
    {Qt::Key_Launch7, false, 0x7F},
    {Qt::Key_Launch8, false, 0x80},
    {Qt::Key_Launch9, false, 0x81},
    {Qt::Key_Reload, false, 0xA8},
    {Qt::Key_Cancel, false, 0xA9},
    {Qt::Key_Explorer, false, 0xB6},
    {Qt::Key_Calculator, false, 0xB7},
    // Browser, volume, media and launch keys, where the platform reports them.
    {Qt::Key_Back, false, 0xA6},
    {Qt::Key_Forward, false, 0xA7},
    {Qt::Key_Refresh, false, 0xA8},
    {Qt::Key_Stop, false, 0xA9},
    {Qt::Key_Search, false, 0xAA},
    {Qt::Key_Favorites, false, 0xAB},
    {Qt::Key_HomePage, false, 0xAC},
    {Qt::Key_VolumeMute, false, 0xAD},
    {Qt::Key_VolumeDown, false, 0xAE},
    {Qt::Key_VolumeUp, false, 0xAF},
    {Qt::Key_MediaNext, false, 0xB0},
    {Qt::Key_MediaPrevious, false, 0xB1},
    {Qt::Key_MediaStop, false, 0xB2},
    {Qt::Key_MediaTogglePlayPause, false, 0xB3},
    {Qt::Key_MediaPlay, false, 0xB3},
    {Qt::Key_MediaPause, false, 0xB3},
    {Qt::Key_LaunchMail, false, 0xB4},
    {Qt::Key_LaunchMedia, false, 0xB5},
    {Qt::Key_Launch0, false, 0xB6},
    {Qt::Key_Launch1, false, 0xB7},
};

}  // namespace

int virtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 0x41 + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (keypad ? 0x60 : 0x30) + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
    if (qtKey == Qt::Key_Less && modifiers.testFlag(Qt::ShiftModifier)) return 0;
    for (const KeyMap& k : kKeyMap)
        if (k.qtKey == qtKey && (keypad || !k.keypad)) return k.virtualKey;
    return 0;
}

int virtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    // Qt has no key for Calculator and gives My Computer the Media Select key; the desktop's own
    // name of the key (the keysym on X11) tells them apart, as the recorder reads them.
    if (key == 0 || key == Qt::Key_unknown || key == Qt::Key_LaunchMedia) {
        if (const int native = nativeKeyToVirtualKey(event.nativeVirtualKey())) return native;
    }
    return virtualKeyOf(key, event.modifiers());
}

KeyCombinationDialog::KeyCombinationDialog(QWidget* mainWindow, TextLookup texts)
    : QWidget(mainWindow, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      mainWindow_(mainWindow),
      texts_(std::move(texts)) {
    setObjectName("KeyCombinationDialog");
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kMaroon);
    setPalette(pal);
    setAutoFillBackground(true);

    background_ = new SkinImage("Img_Assembly", this);
    if (std::optional<QImage> picture = decodeBuiltInPicture("AssemblyDlgBack")) {
        background_->setPicture(QPixmap::fromImage(*picture), "AssemblyDlgBack");
        // The window takes the picture's shape: its see-through pixels are left out.
        setMask(QBitmap::fromImage(picture->convertToFormat(QImage::Format_RGB32)
                                       .createMaskFromColor(kMaroon.rgb(), Qt::MaskInColor)));
    }

    title_ = new CaptionLabel("lbl_Assembly", this);
    title_->setGeometry(kTitle);
    title_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    edit_ = new QLineEdit(this);
    edit_->setObjectName("Edt_Assembly");
    edit_->setReadOnly(true);
    edit_->setGeometry(kEditWell.adjusted(4, 3, -4, -3));
    edit_->setAlignment(Qt::AlignCenter);
    edit_->setStyleSheet(
        "QLineEdit { background: transparent; border: none; color: white; font-size: 11pt; }");
    edit_->installEventFilter(this);

    const char* const boxNames[] = {"CB_Ctrl", "CB_Shift", "CB_Alt", "CB_Win"};
    const int boxWidth = kTickRow.width() / 4;
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const Modifier m = KeyCombination::kModifiers[i];
        auto* box = new QCheckBox(QString::fromUtf8(KeyCombination::nameOf(m).data()), this);
        box->setObjectName(boxNames[i]);
        box->setGeometry(kTickRow.left() + int(i) * boxWidth + 14, kTickRow.top(), boxWidth - 14,
                         kTickRow.height());
        box->setStyleSheet("QCheckBox { color: #d8dbe2; background: transparent; }");
        // The keys belong to the edit field: a box never keeps the focus.
        box->setFocusPolicy(Qt::NoFocus);
        connect(box, &QCheckBox::clicked, this,
                [this, m](bool ticked) { modifierClicked(m, ticked); });
        boxes_[i] = box;
    }

    auto plate = [this](const char* hoverName, const char* labelName, const QRect& at,
                        SkinImage*& hover, CaptionLabel*& label) {
        hover = new SkinImage(hoverName, this);
        if (std::optional<QImage> picture = decodeBuiltInPicture("DlgBtnHover"))
            hover->setPicture(QPixmap::fromImage(*picture), "DlgBtnHover");
        hover->move(at.topLeft());
        hover->hide();
        label = new CaptionLabel(labelName, this);
        label->setGeometry(at);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(p);
        connect(label, &CaptionLabel::entered, hover, &QWidget::show);
        connect(label, &CaptionLabel::left, hover, &QWidget::hide);
    };
    plate("Img_Confirm", "IB_Confirm", kConfirmPlate, confirmHover_, confirm_);
    plate("Img_Cancel", "IB_Cancel", kCancelPlate, cancelHover_, cancel_);
    connect(confirm_, &CaptionLabel::clicked, this, &KeyCombinationDialog::IB_ConfirmClick);
    connect(cancel_, &CaptionLabel::clicked, this, &KeyCombinationDialog::IB_CancelClick);

    close_ = new CaptionLabel("IB_Close", this);
    close_->setGeometry(kCloseBox);
    connect(close_, &CaptionLabel::clicked, this, &KeyCombinationDialog::IB_CloseClick);

    QPalette titlePal = title_->palette();
    titlePal.setColor(QPalette::WindowText, QColor(0xe6, 0xe8, 0xee));
    title_->setPalette(titlePal);
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    title_->setFont(titleFont);
}

void KeyCombinationDialog::open() {
    combo_ = KeyCombination{};
    combo_.FormCreate();
    for (QCheckBox* box : boxes_) box->setChecked(false);
    auto text = [this](std::string_view key) {
        return QString::fromStdString(texts_ ? texts_(key) : std::string());
    };
    title_->setText(text("Str500"));
    confirm_->setText(text("Str501"));
    cancel_->setText(text("Str502"));
    confirmHover_->hide();
    cancelHover_->hide();
    render();

    const QRect main = mainWindow_ ? mainWindow_->geometry() : QRect(0, 0, kWidth, kHeight);
    move(main.left() + (main.width() - kWidth) / 2,
         main.top() + (main.height() - kHeight) / 2 + kBelowCentre);
    show();
    raise();
    activateWindow();
    edit_->setFocus();
}

bool KeyCombinationDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        Edt_AssemblyKeyDown(static_cast<QKeyEvent*>(event));
        return true;
    }
    // Every key is the composition's, not a shortcut of the edit or the window.
    if (watched == edit_ && event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void KeyCombinationDialog::Edt_AssemblyKeyDown(QKeyEvent* event) {
    const int key = event->key();
    const bool held =
        (event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier)) != 0 ||
        key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
        key == Qt::Key_AltGr;
    combo_.Edt_AssemblyKeyDown(virtualKeyOf(*event), held);
    render();
}

void KeyCombinationDialog::modifierClicked(Modifier m, bool ticked) {
    combo_.modifierClicked(m, ticked);
    render();
    CBSetFocus();
}

void KeyCombinationDialog::CBSetFocus() { edit_->setFocus(); }

void KeyCombinationDialog::render() {
    edit_->setText(QString::fromStdString(combo_.editText()));
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setChecked(combo_.ticked(KeyCombination::kModifiers[i]));
}

void KeyCombinationDialog::IB_ConfirmClick() {
    const KeyCombinationResult result = combo_.IB_ConfirmClick();
    if (confirmed) confirmed(result);
    close();
}

void KeyCombinationDialog::IB_CancelClick() {
    combo_.IB_CancelClick();
    if (cleared) cleared();
    render();
    edit_->setFocus();
}

void KeyCombinationDialog::IB_CloseClick() { close(); }

}  // namespace kvr
