#pragma once
// The event list of the macro page: the lines of the macro shown (line 0 the delay-mode header,
// line r + 1 drawn as row r), the selected row, deleting an event with its partner, and the
// insert panel's delay insertion and Cancel.
#include "macros/recorder_lines.h"

namespace kvr {

// CB_Insert.
enum class InsertChoice { DelayFront = 0, DelayBack = 1, KeyFront = 2, KeyBack = 3 };

inline bool insertsKeys(InsertChoice choice) {
    return choice == InsertChoice::KeyFront || choice == InsertChoice::KeyBack;
}

// The bounds the delay edits keep.
inline constexpr int kMinEditDelayMs = 1;
inline constexpr int kMaxEditDelayMs = 10200;

class MacroEditor {
public:
    enum class InsertResult { Inserted, NoRow, TooLong };

    const MacroLines& lines() const { return lines_; }
    int rowCount() const { return lines_.empty() ? 0 : static_cast<int>(lines_.size()) - 1; }
    // The line row r draws.
    const MacroLine& rowLine(int row) const { return lines_[static_cast<std::size_t>(row) + 1]; }

    // A decoded macro: the last row is selected, the list scrolled to the top.
    void show(MacroLines lines);
    void clear();
    // Appends a line (the header first when the list is empty) and selects the last row.
    void appendLine(MacroLine line);
    // Inserts before line `lineIndex` (1..lines().size()).
    void insertLine(std::size_t lineIndex, MacroLine line);

    int selectedRow() const { return selected_; }
    // -1 or out of range: no row selected.
    void select(int row);
    int topRow() const { return top_; }
    void setTopRow(int row) { top_ = row; }

    // Btn_DelClick: removes the selected row; a press or release takes its partner along (the
    // nearest release after a press, the nearest press before a release, of the same key; the
    // search stops at the list's ends). False without a selected row.
    bool deleteSelected();

    // Btn_InsertClick: remembers the top and selected rows. False without a selected row.
    bool openInsertPanel();
    bool insertPanelOpen() const { return panelOpen_; }
    void closeInsertPanel() { panelOpen_ = false; }
    InsertChoice insertChoice() const { return choice_; }
    void setInsertChoice(InsertChoice choice) { choice_ = choice; }
    int rememberedTopRow() const { return rememberedTop_; }
    int rememberedSelectedRow() const { return rememberedSelected_; }

    // OK of a delay choice: a delay line (kept within 1..10200 ms) before or after the selected
    // row, which then becomes selected. Refused when the macro would outgrow the mouse's bytes.
    InsertResult insertDelay(int milliseconds);
    // Cancel: the lines decoded again from what is stored, and the rows remembered at opening.
    void cancelInsert(MacroLines decoded);

    // The event's name: the line without its direction and without " CODE:" and its digits.
    static std::string_view eventName(std::string_view line);
    // What a row shows beside its icon: the event's name, or the delay as "120 ms".
    static std::string rowText(std::string_view line);
    // The row's icon: 0 delay, 1 press, 2 release.
    static int rowIcon(std::string_view line);

private:
    MacroLines lines_;
    int selected_ = -1;
    int top_ = 0;
    bool panelOpen_ = false;
    InsertChoice choice_ = InsertChoice::DelayFront;
    int rememberedTop_ = 0;
    int rememberedSelected_ = -1;
};

}  // namespace kvr
