#include "gui/dialogs.h"

#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace kvr {

namespace {

// Without a window manager nobody hands a new box the keyboard, and Escape, Return or a typed
// name would go to the window behind it: the box takes the keyboard once it is on screen.
class TakesKeyboardWhenShown final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* w = qobject_cast<QWidget*>(watched)) {
                QTimer::singleShot(0, w, [w] {
                    w->raise();
                    w->activateWindow();
                });
            }
        }
        return false;
    }
};

void takeKeyboardWhenShown(QWidget& box) {
    box.installEventFilter(new TakesKeyboardWhenShown(&box));
}

}  // namespace

void QtDialogs::message(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
    takeKeyboardWhenShown(box);
    box.exec();
}

int QtDialogs::ask(const QString& title, const QString& text, const QStringList& buttons,
                   int byDefault, int onEscape) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent_);
    QList<QAbstractButton*> added;
    // One role for all keeps them in the order given.
    for (const QString& b : buttons) added.append(box.addButton(b, QMessageBox::ActionRole));
    if (byDefault >= 0 && byDefault < added.size())
        box.setDefaultButton(qobject_cast<QPushButton*>(added[byDefault]));
    if (onEscape >= 0 && onEscape < added.size()) box.setEscapeButton(added[onEscape]);
    takeKeyboardWhenShown(box);
    box.exec();
    const qsizetype pressed = added.indexOf(box.clickedButton());
    return pressed >= 0 ? int(pressed) : onEscape;
}

void QtDialogs::notice(const QString& title, const QString& text) {
    notices_.removeIf([](const QPointer<QMessageBox>& open) { return !open; });
    for (const QPointer<QMessageBox>& open : notices_)
        if (open->text() == text) return;
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal as a waiting box is, but the caller goes on.
    box->setWindowModality(Qt::ApplicationModal);
    takeKeyboardWhenShown(*box);
    box->show();
    notices_.append(box);
}

void QtDialogs::withdrawNotice(const QString& text) {
    // A closed box is deleted later; it leaves the list at once.
    notices_.removeIf([&](const QPointer<QMessageBox>& open) {
        if (!open || open->text() != text) return !open;
        open->close();
        return true;
    });
}

void QtDialogs::error(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString(), text, QMessageBox::Ok, parent_);
    takeKeyboardWhenShown(box);
    box.exec();
}

// The file dialog's fields ("Look in", "Files of type", the typed name) keep a light look of their
// own: a dark field sheet meant for the skin, reaching them from the window, came out dark on dark.
void giveReadableLook(QDialog& dialog) {
    dialog.setStyleSheet(
        "QLineEdit, QComboBox { color: black; background: white; border: 1px solid #9a9a9a;"
        " border-radius: 2px; padding: 1px 3px; selection-background-color: #308cc6;"
        " selection-color: white; }"
        "QLineEdit:disabled, QComboBox:disabled { color: #808080; background: #f0f0f0; }"
        "QComboBox QAbstractItemView { color: black; background: white; border: 1px solid #9a9a9a;"
        " selection-background-color: #308cc6; selection-color: white; }");
}

namespace {

// One file type of a filter such as "SaveFile(*.bin)|*.bin|TOML(*.toml)|*.toml": the Qt name
// filter "SaveFile (*.bin)" and its extension, "bin".
struct FileType {
    QString nameFilter;
    QString suffix;
};

QList<FileType> fileTypes(const QString& filter) {
    const QStringList parts = filter.split('|');
    QList<FileType> types;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString shown = parts[i];
        const QString pattern = parts.value(i + 1, "*");
        const qsizetype paren = shown.indexOf('(');
        if (paren > 0) shown = shown.left(paren);
        types.append(
            {shown + " (" + pattern + ")", pattern.startsWith("*.") ? pattern.mid(2) : QString()});
    }
    return types;
}

QString runFileDialog(QWidget* parent, const QString& filter, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    takeKeyboardWhenShown(dialog);
    giveReadableLook(dialog);
    dialog.setAcceptMode(mode);
    const QList<FileType> types = fileTypes(filter);
    QStringList nameFilters;
    for (const FileType& type : types) nameFilters.append(type.nameFilter);
    dialog.setNameFilters(nameFilters);
    dialog.setSizeGripEnabled(true);
    if (mode == QFileDialog::AcceptSave) {
        // The overwrite question then names the file that is really written, with the extension
        // of the type chosen: the first one unless the owner picks another.
        dialog.setDefaultSuffix(types.value(0).suffix);
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, types](const QString& chosen) {
                             for (const FileType& type : types)
                                 if (type.nameFilter == chosen)
                                     dialog.setDefaultSuffix(type.suffix);
                         });
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

QString QtDialogs::saveFileName(const QString& filter) {
    return runFileDialog(parent_, filter, QFileDialog::AcceptSave);
}

QString QtDialogs::openFileName(const QString& filter) {
    return runFileDialog(parent_, filter, QFileDialog::AcceptOpen);
}

void StderrDialogs::message(const QString& title, const QString& text) {
    QString line = title.isEmpty() ? text : title + ": " + text;
    line.replace('\r', ' ').replace('\n', ' ');
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

void StderrDialogs::error(const QString& text) {
    std::fprintf(stderr, "error: %s\n", text.toLocal8Bit().constData());
}

}  // namespace kvr
