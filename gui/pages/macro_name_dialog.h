#pragma once
// MacroNameDialog: the small dialog in which a PC macro's name is typed, for a new macro or a
// rename. Borderless and always on top, shaped by its artwork, and not modal: the main window goes
// on working while it is open.
#include <QLineEdit>
#include <QWidget>

#include "macros/macro_codec.h"

namespace kvr {

class CaptionLabel;

class MacroNameDialog final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 354;
    static constexpr int kHeight = 179;
    // The field takes no more than the library keeps of a name.
    static constexpr int kMaxNameLength = static_cast<int>(kMacroNameUnits);

    struct Texts {
        QString title;    // Str510
        QString confirm;  // Str511
        QString cancel;   // Str512
    };

    // Centred over `owner`, which it stays above.
    MacroNameDialog(const Texts& texts, QWidget* owner);

    QLineEdit* edit() const { return edit_; }

    void IB_ConfirmClick();
    void IB_CancelClick();
    void IB_CloseClick();

signals:
    // The typed name (possibly empty) when IB_Confirm was clicked; the dialog closes after it.
    void confirmed(const QString& name);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate(const Texts& texts, QWidget* owner);

    QLineEdit* edit_ = nullptr;
};

}  // namespace kvr
