#pragma once
// Every control of the main window, created once with its name. Operations find controls by
// name, as the four copies of a common button are found by their page number. The own controls
// of pages 2 to 4, and the key menu's macro list, are made when first needed, so that a start that
// shows page 1 does not pay for them.
#include <QHash>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

namespace kvr {

class SkinImage;
class CaptionLabel;

// The thirteen buttons that every page carries, as "Img_" + name + "_" + page and "Btn_" + ...
extern const QStringList kCommonButtonNames;
// The breathing light page's choices, as "Img_" + name and "lbl_" + name.
extern const QStringList kLightChoices;
// The key menu's list of the mouse's macros, made alone when first looked up.
extern const QString kMacroChoiceList;

class WindowControls {
public:
    // What a control of a page not made yet is told; a later change of one kind replaces the
    // earlier one.
    enum class Change { Picture, Geometry, Move, Visible, FontSize, FontColour, BackColour, Border,
                        Caption, Entries, Selection };

    explicit WindowControls(QWidget* window);

    // Finds a control by name, making its page's controls first when they are not made yet.
    QWidget* find(const QString& name);
    // Finds a control only among those made.
    QWidget* findMade(const QString& name) const { return byName_.value(name.toLower()); }
    template <typename T>
    T* get(const QString& name) {
        return qobject_cast<T*>(find(name));
    }
    SkinImage* image(const QString& name);
    CaptionLabel* caption(const QString& name);
    QWidget* page(int p) const { return pages_[size_t(p - 1)]; }
    // The controls made so far.
    QStringList names() const;

    bool made(int p) const { return made_[size_t(p - 1)]; }
    // Makes page p's own controls, once, then carries out what they were told meanwhile and tells
    // the window (setOnMade) with their names. The key menu's macro list, made alone, is told as
    // page 1.
    void makePage(int p);
    using MadeHandler = std::function<void(int page, const QStringList& names)>;
    void setOnMade(MadeHandler onMade) { onMade_ = std::move(onMade); }
    // Applies `change` to the control now, or keeps it for when its page is made; a name that
    // no page holds is ignored.
    void change(const QString& name, Change kind, std::function<void(QWidget*)> apply);
    // The size of the picture a control not made yet was given; empty without one.
    QSize pendingPictureSize(const QString& name) const { return pendingSizes_.value(name.toLower()); }
    void setPendingPictureSize(const QString& name, QSize size) { pendingSizes_.insert(name.toLower(), size); }
    // The skin's own look of an edit box, list or choice box; empty for other controls. A sheet
    // set on a field later starts from it.
    static QString fieldStyle(const QWidget* field);
    // The skin's look of a menu or context panel.
    static QString panelStyle(const QWidget* panel);
    // Gives the fields of page `p` their look, once, before the page first shows: a style sheet
    // costs each field time and memory that a page never opened need not spend.
    void styleFields(int p);

private:
    template <typename T>
    T* add(const QString& name, QWidget* parent);
    SkinImage* addImage(const QString& name, QWidget* parent);
    CaptionLabel* addCaption(const QString& name, QWidget* parent);
    void addSkinButton(const QString& name, QWidget* parent);  // Img_name + Btn_name
    void createCommon(int p);
    void createButtonsPage(QWidget* page);
    void createAdvancedPage(QWidget* page);
    void createLightPage(QWidget* page);
    void createMacroPage(QWidget* page);
    void createHiddenChoices(QWidget* window);
    // The key menu's list of the mouse's macros, on page 1.
    void createMacroChoiceList();

    struct PendingChange {
        Change kind;
        std::function<void(QWidget*)> apply;
    };
    // Edit boxes and lists take the skin's text colour when they are made.
    void giveFieldColours();

    QHash<QString, QWidget*> byName_;
    std::array<QWidget*, 4> pages_{};
    std::array<bool, 4> fieldsStyled_{};
    std::array<bool, 4> made_{};
    // By page, by lower-case control name, in the order of the last change of each kind.
    std::array<QHash<QString, std::vector<PendingChange>>, 4> pending_;
    // The controls the making under way has added.
    std::vector<QWidget*> fresh_;
    QHash<QString, QSize> pendingSizes_;
    MadeHandler onMade_;
};

}  // namespace kvr
