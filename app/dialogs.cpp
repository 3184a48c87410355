#include "app/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <cstdio>

namespace kvr {

void QtDialogs::message(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
    box.exec();
}

void QtDialogs::error(const QString& text) {
    QMessageBox::critical(parent_, QString(), text, QMessageBox::Ok);
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
