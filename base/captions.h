#pragma once
// The captions of the window in the current language, and the texts kept for its messages.
#include <span>
#include <string_view>

#include "base/language_table.h"
#include "base/layout_target.h"

namespace kvr {

// A control and the language key of its caption.
struct CaptionKey {
    std::string_view control;
    std::string_view key;
};

// The common buttons by name (without "Btn_" and the page number).
inline constexpr CaptionKey kCommonButtonCaptions[] = {
    {"Confirm", "Str000"}, {"Apply", "Str001"}, {"Reset", "Str002"},  {"Exit", "Str003"},
    {"Main", "Str004"},    {"Adv", "Str007"},   {"Breath", "Str008"}, {"Macro", "Str014"},
    {"Save", "Str009"},    {"Load", "Str010"},  {"Lang1", "Str011"},  {"Lang2", "Str012"},
    {"Lang3", "Str013"}};

// Function-menu entries; each reads blank, the mark "Str200", blank, its text.
inline constexpr CaptionKey kMenuCaptions[] = {{"Key_Standard", "Str201"},
                                               {"Key_Special", "Str202"},
                                               {"Key_Media", "Str203"},
                                               {"Key_WWW", "Str204"},
                                               {"Key_Assembly", "Str205"},
                                               {"Key_Macro", "Str206"},
                                               {"Key_MyPC", "Str207"},
                                               {"Key_Left", "Str210"},
                                               {"Key_Right", "Str211"},
                                               {"Key_Middle", "Str212"},
                                               {"Key_B4", "Str213"},
                                               {"Key_B5", "Str214"},
                                               {"Key_Fire", "Str230"},
                                               {"Key_CPI", "Str231"},
                                               {"Key_CPII", "Str232"},
                                               {"Key_CPID", "Str233"},
                                               {"Key_LEDSwitch", "Str234"},
                                               {"Key_Computer", "Str240"},
                                               {"Key_Calculator", "Str241"},
                                               {"Key_EMail", "Str242"},
                                               {"Key_PlayPause", "Str250"},
                                               {"Key_Stop", "Str251"},
                                               {"Key_PreviousTrack", "Str252"},
                                               {"Key_NextTrack", "Str253"},
                                               {"Key_VolumePlus", "Str254"},
                                               {"Key_VolumeMinus", "Str255"},
                                               {"Key_Mute", "Str256"},
                                               {"Key_WWWHome", "Str260"},
                                               {"Key_WWWSearch", "Str261"},
                                               {"Key_WWWBack", "Str262"},
                                               {"Key_WWWForward", "Str263"},
                                               {"Key_WWWStop", "Str264"},
                                               {"Key_WWWRefresh", "Str265"},
                                               {"Key_WWWFavorites", "Str266"}};

inline constexpr CaptionKey kMacroPageCaptions[] = {
    {"Btn_NewName", "Str402"},   {"Btn_Start", "Str400"},     {"Btn_ExportOne", "Str404"},
    {"Btn_Export", "Str405"},    {"Btn_ImportOne", "Str406"}, {"Btn_Import", "Str407"},
    {"Btn_Del", "Str408"},       {"Btn_Insert", "Str409"},    {"Btn_NewMacro", "Str432"},
    {"Btn_DelMacro", "Str433"},  {"Btn_AddMacro", "Str434"},  {"Btn_DevExport", "Str405"},
    {"Btn_DelPCMacro", "Str433"}};

// The four entries of the insert choice list "CB_Insert", in order.
inline constexpr std::string_view kInsertChoiceKeys[] = {"Str410", "Str411", "Str412", "Str413"};

// Sets every caption of `table`'s language and stores its message texts. The mouse key labels
// Key1..Key9 are translated through their current text (FindTextKey over `allTables`, languages
// 1..3 in order); a label whose text is in no table, such as a key name or a macro name, keeps
// it.
void applyCaptions(const LanguageTable& table, std::span<const LanguageTable> allTables,
                   CaptionTarget& target, MessageTexts& messages);

}  // namespace kvr
