#pragma once
// A page of the main window: it draws its model onto its controls and owns its click and field
// handlers. The main window assembles the pages and lends them what they share through PageHost.
#include <QColor>
#include <QObject>
#include <QString>
#include <QWidget>
#include <string>

namespace kvr {

class Dialogs;
class LayoutState;
class Pacer;
class ReadWriteCycle;
class WindowControls;

// What a page borrows from the main window; the window owns all of it.
class PageHost {
public:
    virtual ~PageHost() = default;

    virtual WindowControls& controls() = 0;
    // Shows the skin picture `picture` on the picture control `image`.
    virtual void setPicture(const QString& image, const QString& picture) = 0;
    // Sets the caption of the label `label`. A label under the pointer scrolls the new caption
    // and gets it back when the pointer leaves, not the one it had when the pointer came.
    virtual void setLabelCaption(const QString& label, const QString& text) = 0;
    virtual const LayoutState& layoutState() const = 0;
    virtual QString messageText(const char* key) const = 0;
    virtual QString titleText() const = 0;
    virtual Dialogs& dialogs() = 0;
    virtual Pacer& pacer() = 0;
    virtual bool mouseOpen() const = 0;
    virtual ReadWriteCycle& cycle() = 0;
    // HideAllMenu: every page's menus and context panels close.
    virtual void hideAllMenus() {}
    // Before a write that changes the mouse: the memory as read is saved among the backups once.
    // False when no backup could be saved and the owner chose not to write without one.
    virtual bool backUpBeforeWrite() { return true; }
};

inline QString qText(const std::string& s) { return QString::fromStdString(s); }

inline void setTextColour(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, c);
    w->setPalette(pal);
}

class WindowPage : public QObject {
    Q_OBJECT
public:
    explicit WindowPage(PageHost& host) : host_(host) {}

    // Draws the model onto the page's controls after settings were loaded or reset.
    virtual void render() = 0;
    // The controls of page `page` were made, when that page first opened or was first looked
    // into: a page that uses them connects to them and draws.
    virtual void controlsMade(int page) { (void)page; }
    // After the layout and captions of another language were applied.
    virtual void languageChanged() {}
    // Closes the page's menus and context panels.
    virtual void hideMenus() {}
    // The mouse was lost: forget what only a mouse can show.
    virtual void deviceLost() {}
    // The skin picture of the page's panel, given the language's standard one; a page whose
    // panel names choices that depend on the mouse picks its own.
    virtual QString panelPicture(const QString& standard) const { return standard; }

protected:
    PageHost& host_;
};

}  // namespace kvr
