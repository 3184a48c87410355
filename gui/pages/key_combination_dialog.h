#pragma once
// The key combination dialog: a small borderless window over the main window in which the owner
// ticks modifiers and types up to two keys; Confirm hands the keyboard code to the button page.
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

#include "base/text_lookup.h"
#include "buttons/key_combination.h"

class QCheckBox;
class QKeyEvent;
class QLineEdit;

namespace kvr {

class CaptionLabel;
class SkinImage;

// The Windows virtual-key code the key table knows a Qt key by; 0 for any key it does not know.
// Keypad keys are told from the main block by the keypad modifier.
int virtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
int virtualKeyOf(const QKeyEvent& event);

class KeyCombinationDialog : public QWidget {
    Q_OBJECT
public:
    // `texts` reads the current language when the dialog is shown.
    KeyCombinationDialog(QWidget* mainWindow, TextLookup texts);

    // Opens the dialog empty, over the main window and above every window, without blocking it.
    void open();

    // Confirm, with the composition; the dialog closes after it.
    std::function<void(const KeyCombinationResult&)> confirmed;
    // Clear: the button page forgets any earlier result.
    std::function<void()> cleared;

    const KeyCombination& composition() const { return combo_; }

    void Edt_AssemblyKeyDown(QKeyEvent* event);
    void IB_ConfirmClick();
    void IB_CancelClick();
    void IB_CloseClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void modifierClicked(Modifier m, bool ticked);
    void render();
    void CBSetFocus();

    QWidget* mainWindow_;
    TextLookup texts_;
    KeyCombination combo_;
    SkinImage* background_ = nullptr;
    CaptionLabel* title_ = nullptr;
    QLineEdit* edit_ = nullptr;
    std::array<QCheckBox*, 4> boxes_{};
    SkinImage* confirmHover_ = nullptr;
    SkinImage* cancelHover_ = nullptr;
    CaptionLabel* confirm_ = nullptr;
    CaptionLabel* cancel_ = nullptr;
    CaptionLabel* close_ = nullptr;
};

}  // namespace kvr
