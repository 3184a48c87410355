#include "app/dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QPalette>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

namespace kvr {

void QtDialogs::message(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
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
    QMessageBox::critical(parent_, QString(), text, QMessageBox::Ok);
}

// The window's style sheet reaches its child dialogs: its dark fields, meant for the skin, came
// out dark on dark in the file dialog ("Look in", "Files of type", the typed name). The dialog
// gets a dark look of its own in which every part is drawn in light text.
void giveReadableLook(QDialog& dialog) {
    QPalette pal = dialog.palette();
    const QColor text(0xea, 0xec, 0xf0);
    const QColor dimText(0x8a, 0x8c, 0x92);
    pal.setColor(QPalette::Window, QColor(0x1d, 0x1f, 0x25));
    pal.setColor(QPalette::Base, QColor(0x0d, 0x0e, 0x11));
    pal.setColor(QPalette::AlternateBase, QColor(0x17, 0x19, 0x1e));
    pal.setColor(QPalette::Button, QColor(0x2a, 0x2d, 0x34));
    pal.setColor(QPalette::Highlight, QColor(0x8c, 0x1a, 0x22));
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::ToolTipBase, QColor(0x1d, 0x1f, 0x25));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                     QPalette::ToolTipText, QPalette::BrightText}) {
        pal.setColor(QPalette::Active, role, text);
        pal.setColor(QPalette::Inactive, role, text);
        pal.setColor(QPalette::Disabled, role, dimText);
    }
    pal.setColor(QPalette::PlaceholderText, dimText);
    dialog.setPalette(pal);
    dialog.setStyleSheet(
        "QLineEdit, QComboBox { color: #eaecf0; background: #0d0e11; border: 1px solid #6b1d22;"
        " selection-background-color: #8c1a22; selection-color: white; }"
        "QLineEdit:disabled, QComboBox:disabled { color: #8a8c92; border-color: #3a3c42; }"
        "QComboBox QAbstractItemView { color: #eaecf0; background: #1d1f25; }");
}

namespace {

// "SaveFile(*.bin)|*.bin" as a Qt name filter: "SaveFile (*.bin)".
QString nameFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QString shown = parts.value(0);
    const QString pattern = parts.value(1, "*");
    const qsizetype paren = shown.indexOf('(');
    if (paren > 0) shown = shown.left(paren);
    return shown + " (" + pattern + ")";
}

// The one extension of a pattern such as "*.bin"; empty when there is none.
QString suffixOf(const QString& filter) {
    const QString pattern = filter.section('|', 1, 1);
    return pattern.startsWith("*.") ? pattern.mid(2) : QString();
}

QString runFileDialog(QWidget* parent, const QString& filter, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent);
    giveReadableLook(dialog);
    dialog.setAcceptMode(mode);
    dialog.setNameFilter(nameFilter(filter));
    dialog.setSizeGripEnabled(true);
    if (mode == QFileDialog::AcceptSave) {
        // The overwrite question then names the file that is really written.
        dialog.setDefaultSuffix(suffixOf(filter));
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
