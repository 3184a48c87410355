#pragma once
// Every control of the main window, created once with its name. Operations find controls by
// name, as the four copies of a common button are found by their page number.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

namespace kvr {

class SkinImage;
class CaptionLabel;

// The thirteen buttons that every page carries, as "Img_" + name + "_" + page and "Btn_" + ...
extern const QStringList kCommonButtonNames;
// The breathing light page's choices, as "Img_" + name and "lbl_" + name.
extern const QStringList kLightChoices;

class WindowControls {
public:
    explicit WindowControls(QWidget* window);

    QWidget* find(const QString& name) const { return byName_.value(name.toLower()); }
    template <typename T>
    T* get(const QString& name) const {
        return qobject_cast<T*>(find(name));
    }
    SkinImage* image(const QString& name) const;
    CaptionLabel* caption(const QString& name) const;
    QWidget* page(int p) const { return pages_[size_t(p - 1)]; }
    QStringList names() const;
    // The skin's own look of an edit box, list or choice box; empty for other controls. A sheet
    // set on a field later starts from it.
    static QString fieldStyle(const QWidget* field);
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

    QHash<QString, QWidget*> byName_;
    std::array<QWidget*, 4> pages_{};
    std::array<bool, 4> fieldsStyled_{};
};

}  // namespace kvr
