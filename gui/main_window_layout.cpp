// The layout and language apply, carried out on the window's controls.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <initializer_list>

#include "gui/main_window.h"
#include "gui/skin_widgets.h"
#include "gui/window_controls.h"

namespace kvr {

namespace {
QString qname(std::string_view name) { return QString::fromUtf8(name.data(), qsizetype(name.size())); }

// One palette change for all the roles: each change goes down to every child.
void setPaletteColour(QWidget* w, std::initializer_list<QPalette::ColorRole> roles, Colour c) {
    QPalette pal = w->palette();
    for (QPalette::ColorRole role : roles) pal.setColor(role, toQColor(c));
    w->setPalette(pal);
}
}  // namespace

// The getters read only controls already made; the layout asks them of page 1's.
QWidget* MainWindow::control(std::string_view name) const { return controls_->findMade(qname(name)); }

bool MainWindow::loadPicture(std::string_view image, std::string_view picture) {
    return placePicture(qname(image), qname(picture));
}

PictureSize MainWindow::imageSize(std::string_view image) const {
    const auto* target = qobject_cast<const SkinImage*>(control(image));
    if (target == nullptr) {
        const QSize pending = controls_->pendingPictureSize(qname(image));
        return {pending.width(), pending.height()};
    }
    if (!target->hasPicture()) return {};
    return {target->width(), target->height()};
}

void MainWindow::move(std::string_view name, int left, int top) {
    controls_->change(qname(name), WindowControls::Change::Move,
                      [left, top](QWidget* w) { w->move(left, top); });
}

void MainWindow::setGeometry(std::string_view name, int left, int top, int width, int height) {
    controls_->change(qname(name), WindowControls::Change::Geometry,
                      [=](QWidget* w) { w->setGeometry(left, top, width, height); });
}

void MainWindow::setVisible(std::string_view name, bool visible) {
    controls_->change(qname(name), WindowControls::Change::Visible, [visible](QWidget* w) {
        // The layout places what it shows right after showing it; shown without a size of its
        // own, a caption would first be sized to its text, laying the text out for nothing.
        if (visible) w->setAttribute(Qt::WA_Resized);
        w->setVisible(visible);
    });
}

void MainWindow::setFontSize(std::string_view name, int points) {
    controls_->change(qname(name), WindowControls::Change::FontSize, [points](QWidget* w) {
        QFont f = w->font();
        f.setPointSize(points);
        w->setFont(f);
    });
}

void MainWindow::setFontColour(std::string_view name, Colour colour) {
    controls_->change(qname(name), WindowControls::Change::FontColour, [colour](QWidget* w) {
        setPaletteColour(w, {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}, colour);
    });
}

void MainWindow::setBackColour(std::string_view name, Colour colour) {
    controls_->change(qname(name), WindowControls::Change::BackColour, [colour](QWidget* w) {
        setPaletteColour(w, {QPalette::Base, QPalette::Window}, colour);
        w->setAutoFillBackground(true);
    });
}

void MainWindow::setBorderColour(std::string_view name, Colour colour) {
    controls_->change(qname(name), WindowControls::Change::Border, [colour](QWidget* w) {
        auto* edit = qobject_cast<QLineEdit*>(w);
        if (edit == nullptr) return;
        edit->setFrame(false);
        // Disabled too: the layout's border stands in every state.
        edit->setStyleSheet(WindowControls::fieldStyle(edit) +
                            QString("QLineEdit, QLineEdit:disabled { border: 1px solid %1; }")
                                .arg(toQColor(colour).name()));
    });
}

std::string MainWindow::caption(std::string_view name) const {
    if (auto* label = qobject_cast<QLabel*>(control(name))) return label->text().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(control(name))) return edit->text().toStdString();
    return {};
}

void MainWindow::setCaption(std::string_view name, std::string_view text) {
    controls_->change(qname(name), WindowControls::Change::Caption, [text = qname(text)](QWidget* w) {
        if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
        else if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(text);
    });
}

void MainWindow::setEntries(std::string_view name, std::span<const std::string> entries) {
    QStringList texts;
    for (const std::string& e : entries) texts << QString::fromStdString(e);
    controls_->change(qname(name), WindowControls::Change::Entries, [texts](QWidget* w) {
        auto* box = qobject_cast<QComboBox*>(w);
        if (box == nullptr) return;
        for (int i = 0; i < texts.size(); ++i) {
            if (i < box->count()) box->setItemText(i, texts[i]);
            else box->addItem(texts[i]);
        }
        box->setCurrentIndex(-1);
    });
}

int MainWindow::selectedEntry(std::string_view name) const {
    auto* box = qobject_cast<QComboBox*>(control(name));
    return box ? box->currentIndex() : -1;
}

void MainWindow::selectEntry(std::string_view name, int index) {
    controls_->change(qname(name), WindowControls::Change::Selection, [index](QWidget* w) {
        if (auto* box = qobject_cast<QComboBox*>(w)) box->setCurrentIndex(index);
    });
}

void MainWindow::setApplicationTitle(std::string_view title) {
    QApplication::setApplicationName(qname(title));
}

void MainWindow::resetHover(std::string_view label, std::string_view caption) {
    // The button under the pointer may be another page's copy of the same language button: the
    // marquee stays on the label that is hovered.
    const QString hovered = QString::fromStdString(hover_.labelName);
    const QString copyOf = qname(label).section('_', 0, 1);
    const std::string name = hovered.section('_', 0, 1) == copyOf ? hover_.labelName : std::string(label);
    hover_.begin(name, std::string(caption));
}

}  // namespace kvr
