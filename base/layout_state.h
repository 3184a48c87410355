#pragma once
// The window's current language and layout (one number selects both), with what their apply
// keeps for the pages: the layout's values, the message texts and the web button's section.
#include <string_view>

#include "base/language_table.h"
#include "base/layout_config.h"
#include "base/layout_target.h"
#include "base/text_lookup.h"

namespace kvr {

class LayoutState {
public:
    // 1..3; 1 at every start, never stored.
    int LanguageIndex() const { return languageIndex_; }
    const LayoutValues& values() const { return values_; }
    const MessageTexts& messages() const { return messages_; }
    const OrgSection& org() const { return org_; }

    // Reads the built-in "org" section once at start and places the web buttons.
    ApplyResult LoadOrgSection(LayoutTarget& target);

    // Background pictures, the panel of the page now shown, the layout table and the captions
    // of the current language. Stops at the first missing picture, missing table or bad key.
    ApplyResult ApplyLayout(WindowTarget& target);

    // What the language buttons do: selected picture on language n's button, the layout and
    // captions of n, the insert choice kept, the page shown again and the hover restarted on
    // the button's new caption. A failed apply is reported, and the window still ends the
    // switch in a usable state.
    ApplyResult SwitchLanguage(int n, WindowTarget& target);

    // LanguageText of the current language, read afresh on each call; valid while this lives.
    TextLookup languageText() const;

private:
    ApplyResult applyCaptionStep(CaptionTarget& target);

    int languageIndex_ = 1;
    LayoutValues values_;
    MessageTexts messages_;
    OrgSection org_;
};

}  // namespace kvr
