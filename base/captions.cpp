#include "base/captions.h"

#include <array>
#include <string>

#include "base/layout_controls.h"

namespace kvr {

namespace {

// The labels of the insert group's delay choices lie over their lamps; the blanks keep the
// text clear of the lamp.
constexpr std::string_view kInsertChoiceIndent = "       ";

void setCaptions(std::span<const CaptionKey> captions, const LanguageTable& table,
                 CaptionTarget& target) {
    for (const CaptionKey& c : captions) target.setCaption(c.control, table.text(c.key));
}

void store(std::initializer_list<std::string_view> keys, const LanguageTable& table,
           MessageTexts& messages) {
    for (std::string_view key : keys) messages.store(table, key);
}

}  // namespace

void applyCaptions(const LanguageTable& table, std::span<const LanguageTable> allTables,
                   CaptionTarget& target, MessageTexts& messages) {
    messages.store(table, "Title");
    for (int p = 1; p <= kPageCount; ++p) {
        for (const CaptionKey& c : kCommonButtonCaptions) {
            target.setCaption(pageCopy("Btn_", c.control, p), table.text(c.key));
        }
    }
    store(
        {"Str020", "Str100", "Str101", "Str102", "Str103", "Str106", "Str107", "Str108", "Str110",
         "Str111", "Str113", "Str114", "Str140", "Str120", "Str121", "Str122", "Str123", "Str124",
         "Str125", "Str126", "Str127", "Str128", "Str129", "Str130", "Str131", "Str132", "Str141"},
        table, messages);
    // The answers of the Reset and Exit questions.
    store({"Str001", "Str115", "Str116", "Str117", "Str118", "Str119", "Str422"}, table, messages);

    for (int k = 1; k <= 9; ++k) {
        const std::string label = "Key" + std::to_string(k);
        const std::string key = FindTextKey(target.caption(label), allTables);
        if (!key.empty()) target.setCaption(label, table.text(key));
    }

    std::string mark = " ";
    mark += table.text("Str200");
    mark += ' ';
    for (const CaptionKey& c : kMenuCaptions)
        target.setCaption(c.control, mark + table.text(c.key));
    store({"Str210", "Str300", "Str301", "Str302", "Str303", "Str304", "Str305", "Str306", "Str307",
           "Str400", "Str401"},
          table, messages);

    setCaptions(kMacroPageCaptions, table, target);
    std::array<std::string, std::size(kInsertChoiceKeys)> entries;
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i] = table.text(kInsertChoiceKeys[i]);
    target.setEntries("CB_Insert", entries);
    const std::string indent(kInsertChoiceIndent);
    target.setCaption("IB_InsertRecDelay", indent + table.text("Str414"));
    target.setCaption("IB_InsertDelayTime", indent + table.text("Str415"));
    target.setCaption("IB_InsertNoDelay", indent + table.text("Str416"));
    target.setCaption("lbl_Delay", table.text("Str417"));
    target.setCaption("lbl_s_A", table.text("Str418"));

    store({"Str420", "Str421"}, table, messages);
    target.setCaption("Btn_InsertStart", table.text("Str400"));
    target.setCaption("Btn_OK", table.text("Str420"));
    target.setCaption("Btn_Cancel", table.text("Str422"));
}

}  // namespace kvr
