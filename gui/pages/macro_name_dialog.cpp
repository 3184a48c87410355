#include "gui/pages/macro_name_dialog.h"

#include <QBitmap>
#include <QKeyEvent>

#include "gui/skin.h"
#include "gui/skin_widgets.h"

namespace kvr {

namespace {

const QColor kMaroon(128, 0, 0);  // see-through around the artwork

// Where the artwork frames the controls.
const QRect kTitle(46, 8, 262, 22);
const QRect kEdit(30, 66, 294, 22);
const QRect kConfirm(61, 124, 110, 30);
const QRect kCancel(183, 124, 110, 30);
const QRect kClose(318, 8, 24, 22);

QLabel* picture(QWidget* parent, const QString& name, const QString& resource, QPoint at) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    if (std::optional<QImage> image = decodeBuiltInPicture(resource)) {
        label->setPixmap(QPixmap::fromImage(*image));
        label->resize(image->size());
    }
    label->move(at);
    return label;
}

CaptionLabel* button(QWidget* parent, const QString& name, const QString& text, const QRect& r) {
    auto* label = new CaptionLabel(name, parent);
    label->setText(text);
    label->setGeometry(r);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(pal);
    return label;
}

}  // namespace

MacroNameDialog::MacroNameDialog(const Texts& texts, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("TForm3");
    FormCreate(texts, owner);
}

void MacroNameDialog::FormCreate(const Texts& texts, QWidget* owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWidth, kHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kMaroon);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    QLabel* back = picture(this, "Img_Assembly", "NameDlgBack", {0, 0});
    if (!back->pixmap().isNull()) {
        const QImage shape = back->pixmap().toImage();
        setMask(QBitmap::fromImage(shape.createMaskFromColor(kMaroon.rgb(), Qt::MaskInColor)));
    }
    QLabel* confirmGlow = picture(this, "Img_Confirm", "DlgBtnHover", kConfirm.topLeft());
    QLabel* cancelGlow = picture(this, "Img_Cancel", "DlgBtnHover", kCancel.topLeft());
    confirmGlow->hide();
    cancelGlow->hide();

    auto* title = new QLabel(texts.title, this);
    title->setObjectName("lbl_MacroName");
    title->setGeometry(kTitle);
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    edit_ = new QLineEdit(this);
    edit_->setObjectName("Edt_MacroName");
    edit_->setMaxLength(kMaxNameLength);
    edit_->setGeometry(kEdit);
    edit_->setFrame(false);
    edit_->setStyleSheet(
        "QLineEdit { background: transparent; color: white; selection-background-color: "
        "#b3202a; }");

    CaptionLabel* confirm = button(this, "IB_Confirm", texts.confirm, kConfirm);
    CaptionLabel* cancel = button(this, "IB_Cancel", texts.cancel, kCancel);
    CaptionLabel* close = button(this, "IB_Close", QString(), kClose);
    connect(confirm, &CaptionLabel::clicked, this, &MacroNameDialog::IB_ConfirmClick);
    connect(cancel, &CaptionLabel::clicked, this, &MacroNameDialog::IB_CancelClick);
    connect(close, &CaptionLabel::clicked, this, &MacroNameDialog::IB_CloseClick);
    // IB_ConfirmMouseEnter / Leave and IB_CancelMouseEnter / Leave.
    connect(confirm, &CaptionLabel::entered, confirmGlow, &QWidget::show);
    connect(confirm, &CaptionLabel::left, confirmGlow, &QWidget::hide);
    connect(cancel, &CaptionLabel::entered, cancelGlow, &QWidget::show);
    connect(cancel, &CaptionLabel::left, cancelGlow, &QWidget::hide);

    if (owner) {
        const QRect o = owner->frameGeometry();
        move(o.left() + (o.width() - kWidth) / 2, o.top() + (o.height() - kHeight) / 2);
    }
    edit_->setFocus();
}

void MacroNameDialog::IB_ConfirmClick() {
    const QString name = edit_->text();
    close();
    emit confirmed(name);
}

// The button reads "Cancel": it closes without applying, as the close box does.
void MacroNameDialog::IB_CancelClick() { close(); }

void MacroNameDialog::IB_CloseClick() { close(); }

// Without a window manager nothing activates a new window: the dialog takes the keyboard itself,
// so the name can be typed at once.
void MacroNameDialog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    raise();
    activateWindow();
    edit_->setFocus();
}

void MacroNameDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        IB_ConfirmClick();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        IB_CloseClick();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace kvr
