#include "base/layout_state.h"

#include <string>
#include <vector>

#include "base/captions.h"
#include "base/layout_controls.h"

namespace kvr {

namespace {

constexpr std::string_view kNormalPicture = "SetS_01";
constexpr std::string_view kSelectedPicture = "SetS_02";
constexpr std::string_view kInsertChoice = "CB_Insert";

ApplyResult missingPicture(std::string_view picture) {
    return {"The picture \"" + std::string(picture) + "\" is missing or damaged.", {}};
}

}  // namespace

ApplyResult LayoutState::LoadOrgSection(LayoutTarget& target) {
    return kvr::LoadOrgSection(target, org_);
}

ApplyResult LayoutState::ApplyLayout(WindowTarget& target) {
    const std::string n = std::to_string(languageIndex_);
    const std::string background = "L" + n + "_BackGround";
    for (int p = 1; p <= kPageCount; ++p) {
        if (!target.loadPicture("Img_Base_" + std::to_string(p), background)) {
            return missingPicture(background);
        }
    }
    // Only the page on show gets its panel now; the others get theirs when they are opened.
    const std::string page = std::to_string(target.currentPage());
    const std::string panel = "L" + n + "_Back" + page;
    if (!target.loadPicture("Img_P" + page, panel)) return missingPicture(panel);

    const LayoutConfigResult config = LayoutConfig::load(languageIndex_);
    if (!config.config) return {config.error, {}};
    ApplyResult applied = applyLayoutTable(*config.config, target, values_);
    if (!applied.ok()) return applied;
    return applyCaptionStep(target);
}

ApplyResult LayoutState::applyCaptionStep(CaptionTarget& target) {
    // The key labels are translated back through every language, so all three are needed.
    std::vector<LanguageTable> tables;
    for (int l = 1; l <= kLanguageCount; ++l) {
        LanguageTableResult loaded = LanguageTable::LoadLanguageTable(l);
        if (!loaded.table) return {loaded.error, {}};
        tables.push_back(std::move(*loaded.table));
    }
    applyCaptions(tables[std::size_t(languageIndex_ - 1)], tables, target, messages_);
    return {};
}

ApplyResult LayoutState::SwitchLanguage(int n, WindowTarget& target) {
    if (n < 1 || n > kLanguageCount) return {"There is no language " + std::to_string(n) + ".", {}};
    for (int l = 1; l <= kLanguageCount; ++l) {
        const std::string_view picture = l == n ? kSelectedPicture : kNormalPicture;
        for (int p = 1; p <= kPageCount; ++p) {
            if (!target.loadPicture(pageCopy("Img_", "Lang" + std::to_string(l), p), picture)) {
                return missingPicture(picture);
            }
        }
    }
    target.markCurrentLanguage(n);

    // New entry texts clear the insert choice; the user's choice survives the switch.
    const int insertChoice = target.selectedEntry(kInsertChoice);
    target.setVisible("Gb_Delay", false);
    languageIndex_ = n;
    const ApplyResult applied = ApplyLayout(target);
    // Even after a failed apply the window comes back whole: the delay group hidden above is
    // shown again by the page refresh.
    target.selectEntry(kInsertChoice, insertChoice);
    target.setApplicationTitle(messages_.TitleText());
    target.RefreshAPPage();
    const std::string label = pageCopy("Btn_", "Lang" + std::to_string(n), 1);
    target.resetHover(label, target.caption(label));
    return applied;
}

TextLookup LayoutState::languageText() const {
    return languageLookup([this] { return languageIndex_; });
}

}  // namespace kvr
