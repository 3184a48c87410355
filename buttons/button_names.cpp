#include "buttons/button_names.h"

#include <array>

#include "buttons/key_table.h"
#include "base/bits.h"

namespace kvr {

namespace {

constexpr ButtonCode kCode(std::uint8_t codeClass, std::uint8_t data1, std::uint8_t data2) {
    return ButtonCode{codeClass, data1, data2};
}

using namespace code_class;

constexpr std::array<MenuEntry, 27> kMenuEntries = {{
    {900, "Key_Left", kCode(kMouseButton, 0x01, 0x00), "Str210"},
    {901, "Key_Right", kCode(kMouseButton, 0x02, 0x00), "Str211"},
    {902, "Key_Middle", kCode(kMouseButton, 0x04, 0x00), "Str212"},
    {903, "Key_B4", kCode(kMouseButton, 0x08, 0x00), "Str213"},
    {904, "Key_B5", kCode(kMouseButton, 0x10, 0x00), "Str214"},
    {kFireKeyEntry, "Key_Fire", std::nullopt, kFireKeyNameKey},
    {1001, "Key_CPI", kCode(kDpiNext, 0x00, 0x00), "Str231"},
    {1002, "Key_CPII", kCode(kDpiUp, 0x00, 0x00), "Str232"},
    {1003, "Key_CPID", kCode(kDpiDown, 0x00, 0x00), "Str233"},
    {1004, "Key_LEDSwitch", kCode(kLedSwitch, 0x00, 0x00), "Str234"},
    {1100, "Key_Computer", kCode(kConsumer, 0x01, 0x94), "Str240"},
    {1101, "Key_Calculator", kCode(kConsumer, 0x01, 0x92), "Str241"},
    {1102, "Key_EMail", kCode(kConsumer, 0x01, 0x8A), "Str242"},
    {1300, "Key_PlayPause", kCode(kConsumer, 0x00, 0xCD), "Str250"},
    {1301, "Key_Stop", kCode(kConsumer, 0x00, 0xB7), "Str251"},
    {1302, "Key_PreviousTrack", kCode(kConsumer, 0x00, 0xB6), "Str252"},
    {1303, "Key_NextTrack", kCode(kConsumer, 0x00, 0xB5), "Str253"},
    {1304, "Key_VolumePlus", kCode(kConsumer, 0x00, 0xE9), "Str254"},
    {1305, "Key_VolumeMinus", kCode(kConsumer, 0x00, 0xEA), "Str255"},
    {1306, "Key_Mute", kCode(kConsumer, 0x00, 0xE2), "Str256"},
    {1400, "Key_WWWHome", kCode(kConsumer, 0x02, 0x23), "Str260"},
    {1401, "Key_WWWSearch", kCode(kConsumer, 0x02, 0x21), "Str261"},
    {1402, "Key_WWWBack", kCode(kConsumer, 0x02, 0x24), "Str262"},
    {1403, "Key_WWWForward", kCode(kConsumer, 0x02, 0x25), "Str263"},
    {1404, "Key_WWWStop", kCode(kConsumer, 0x02, 0x26), "Str264"},
    {1405, "Key_WWWRefresh", kCode(kConsumer, 0x02, 0x27), "Str265"},
    {1406, "Key_WWWFavorites", kCode(kConsumer, 0x02, 0x2A), "Str266"},
}};

std::string text(const TextLookup& texts, std::string_view key) {
    return texts ? texts(key) : std::string();
}

std::string keyboardName(ButtonCode code) {
    struct Prefix {
        int bit;
        std::string_view text;
    };
    static constexpr std::array<Prefix, 4> kPrefixes = {{
        {key_modifier::kCtrl, "Ctrl+"},
        {key_modifier::kShift, "Shift+"},
        {key_modifier::kAlt, "Alt+"},
        {key_modifier::kWin, "Win+"},
    }};
    std::string name;
    for (const Prefix& prefix : kPrefixes) {
        if (bitTest(code.data1, prefix.bit)) name += prefix.text;
    }
    if (code.data2 != 0) name += UsageToName(code.data2);
    return name;
}

}  // namespace

std::span<const MenuEntry> menuEntries() { return kMenuEntries; }

std::string CodeForMenuEntry(int entry, FireKeySetting fire) {
    if (entry == kFireKeyEntry) return codeText(fireKeyCode(fire.repeat, fire.delay));
    for (const MenuEntry& e : kMenuEntries) {
        if (e.entry == entry && e.code) return codeText(*e.code);
    }
    return {};
}

std::string CodeToDisplayName(std::string_view codeText, const CodeNaming& naming) {
    const std::optional<ButtonCode> code = parseCodeText(codeText);
    return code ? CodeToDisplayName(*code, naming) : std::string();
}

std::string CodeToDisplayName(ButtonCode code, const CodeNaming& naming) {
    for (const MenuEntry& e : kMenuEntries) {
        if (e.code == code) return text(naming.texts, e.nameKey);
    }
    switch (code.codeClass) {
        case kFireKey:
            return text(naming.texts, kFireKeyNameKey);
        case kKeyboard:
            return keyboardName(code);
        case kMacro:
            if (naming.macroNameAt) {
                const auto address = static_cast<std::uint16_t>(code.data1 << 8 | code.data2);
                return naming.macroNameAt(address).value_or(std::string());
            }
            return {};
        default:
            return {};
    }
}

}  // namespace kvr
