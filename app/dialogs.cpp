#include "app/dialogs.h"

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

void StderrDialogs::message(const QString& title, const QString& text) {
    QString line = title.isEmpty() ? text : title + ": " + text;
    line.replace('\r', ' ').replace('\n', ' ');
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

void StderrDialogs::error(const QString& text) {
    std::fprintf(stderr, "error: %s\n", text.toLocal8Bit().constData());
}

}  // namespace kvr
