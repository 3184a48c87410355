#pragma once
// Page 1: the nine button labels over the mouse drawing, the two-level function menu that opens
// beside a clicked label, the key combination dialog and the fire-key fields.
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "gui/window_page.h"
#include "buttons/button_model.h"
#include "gui/pages/key_combination_dialog.h"

class QListWidget;

namespace kvr {

struct CodeNaming;
class DeviceMacros;
class CaptionLabel;

class ButtonPage final : public WindowPage {
    Q_OBJECT
public:
    ButtonPage(PageHost& host, ButtonModel& buttons, const CodeNaming& naming);
    ~ButtonPage() override;

    void render() override;
    void controlsMade(int page) override;
    void languageChanged() override;
    void hideMenus() override;

    // Each key label shows the name of its button's function, named afresh from its code.
    void RefreshProfileKeys();

    // Clicking label Key<n>: the button is selected and the menu opens beside the label.
    void ShowPnlMain_OnClick(int button);
    // Pointing at an entry of the menu, and leaving it.
    void KeyByTagMouseEnter(const QString& entry);
    void KeyByTagMouseLeave(const QString& entry);
    // Choosing a fixed function from a submenu.
    void KeyStatusOnClick(const QString& entry);
    // "User-defined": the key combination dialog opens for the selected button.
    void Key_AssemblyClick();
    // The dialog confirmed: the result goes to the button selected now.
    void ApplyKeyCombination();
    // The page background: every menu closes.
    void ClearAP();
    // Leaving the fire-key fields.
    void RepeatValue_OnClick();
    void DelayTimeValue_OnClick();

    // The mouse's macros, as the macro page keeps them; the macro list of the menu opens only
    // while the mouse keeps macros and holds at least one.
    using DeviceMacrosSource = std::function<const DeviceMacros&()>;
    void setDeviceMacros(DeviceMacrosSource source);
    // The device macro list changed: an open macro list shows the new names, or closes when
    // there are none.
    void deviceMacrosChanged();
    void LB_NameClick(int row);

    KeyCombinationDialog* keyCombinationDialog() const { return dialog_; }

    // The fire-key fields show the model's texts (after a write, as their exit rules left them).
    void showFireKeyFields();

private:
    static constexpr int kFireKeyPage = 2;
    static constexpr int kMacroListPage = 1;
    // The labels show the model's captions as they are.
    void showCaptions();
    void setHighlight(CaptionLabel* entry, bool on);
    void openBeside(QWidget* menu, CaptionLabel* entry);
    void closeSubmenus();
    void connectMenu();
    // The menu panels' looks, set when a menu first opens.
    void styleMenus();
    std::string text(std::string_view key) const;
    // The device macro names while the mouse keeps macros; none otherwise.
    std::vector<std::string> macroNames() const;
    void fillMacroList(const std::vector<std::string>& names);
    // LB_Name, the Macro entry's list of the mouse's macros, made on first use.
    QListWidget* macroList();
    void prepareMacroList();

    ButtonModel& buttons_;
    const CodeNaming& naming_;
    QPointer<KeyCombinationDialog> dialog_;
    // The menu panels still without their look.
    QList<QWidget*> menuPanels_;
    DeviceMacrosSource deviceMacros_;
};

}  // namespace kvr
