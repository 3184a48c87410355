#include "cli/show_report.h"

#include <charconv>
#include <cstdio>

#include "cli/mouse_session.h"
#include "config/mouse_config.h"
#include "config/setting_words.h"
#include "macros/macro_codec.h"
#include "macros/pc_macro_library.h"

namespace kvr {

namespace {

using Json = nlohmann::ordered_json;

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", value & 0xFFFFU);
    return text;
}

std::string onOff(OnOff value) {
    return value == OnOff::On ? "on" : value == OnOff::Off ? "off" : "none";
}

int chosenMode(const LightModel& light) {
    switch (light.controlSet()) {
        case LightControlSet::NT:
            return light.ntMode();
        case LightControlSet::ColorModes:
            return light.colorMode();
        case LightControlSet::Breathing:
            return light.colorBre();
        case LightControlSet::None:
            break;
    }
    return 0;
}

// The events of a macro's content in the words of the configuration file ("press Ctrl").
Json eventLines(const MacroContent& content, bool macroSupport) {
    Json lines = Json::array();
    if (!macroSupport) return lines;
    for (const std::string& event : macroEventWords(content)) lines.push_back(event);
    return lines;
}

// The level's step as its DPI number; null for a text that is none.
Json dpiOf(const std::string& stepText) {
    int value = 0;
    const auto [end, ec] =
        std::from_chars(stepText.data(), stepText.data() + stepText.size(), value);
    if (stepText.empty() || ec != std::errc() || end != stepText.data() + stepText.size())
        return nullptr;
    return value;
}

}  // namespace

Json deviceMacroList(MouseSession& session) {
    const DeviceMacroTable& table = session.deviceMacros().table();
    const bool support = session.cycle().macroSupport();
    Json list = Json::array();
    for (std::size_t i = 0; support && i < table.count(); ++i) {
        const DeviceMacroSlot& slot = table.slot(i);
        list.push_back({{"name", table.name(i)},
                        {"address", slot.address},
                        {"size", slot.size},
                        {"events", eventLines(slot.content, support)}});
    }
    return list;
}

Json libraryMacroList(const PCMacroLibrary& library) {
    Json list = Json::array();
    for (std::size_t i = 0; i < library.count(); ++i) {
        list.push_back(
            {{"name", library.name(i)}, {"events", eventLines(library.slot(i).content, true)}});
    }
    return list;
}

std::string macroListText(const Json& macros, const std::string& indent) {
    std::string out;
    for (const Json& macro : macros) {
        out += indent + macro["name"].get<std::string>();
        if (macro.contains("address")) {
            out += "  (address " + std::to_string(macro["address"].get<int>()) + ", " +
                   std::to_string(macro["size"].get<int>()) + " bytes)";
        }
        out += "\n";
        for (const Json& event : macro["events"])
            out += indent + "    " + event.get<std::string>() + "\n";
    }
    return out;
}

Json showDocument(MouseSession& session) {
    // The models hold texts as the window shows them; the numbers are taken after the exit rules.
    commitPageEdits(PageModels{session.sensitivity(), session.light(), session.buttons()});
    const SensitivityModel& levels = session.sensitivity();
    const LightModel& light = session.light();
    const ButtonModel& buttons = session.buttons();
    const int variant = session.link().deviceVariant();

    Json doc;
    doc["mouse"] = {{"variant", variant},
                    {"version", hex4(variant == 2 ? 0x0103 : 0x0102)},
                    {"macros", session.cycle().macroSupport()}};

    Json levelList = Json::array();
    for (int n = 1; n <= kDpiLevelCount; ++n) {
        levelList.push_back({{"level", n},
                             {"inUse", levels.inUse(n)},
                             {"dpi", dpiOf(levels.valueText(n))},
                             {"color", levels.colorByte(n)}});
    }
    doc["sensitivity"] = {{"levelsInUse", levels.levelsInUse()},
                          {"current", levels.currentLevel()},
                          {"levels", levelList}};

    Json times = Json::object();
    for (const TimeFieldInfo& t : timeFields()) {
        if (light.timeFieldShown(t.field))
            times[std::string(timeFieldName(t.field))] = light.timeByte(t.field);
    }
    // The light's flags choose which modes it offers; the modes say it in the file's words.
    const LightTypeWords& words = light.words();
    doc["light"] = {{"type", words.type == light_word::kNT      ? "NT"
                             : words.type == light_word::kColor ? "colour"
                                                                : "unknown"},
                    {"mcpi", onOff(light.mcpi())},
                    {"effect", onOff(light.buttonEffect())},
                    {"mode", lightModeName(light.controlSet(), chosenMode(light))},
                    {"modes", lightModeNames(light.controlSet())},
                    {"times", times}};

    Json buttonList = Json::array();
    for (int n = 1; n <= static_cast<int>(kButtonCount); ++n) {
        buttonList.push_back(
            {{"button", n},
             {"function", CodeToDisplayName(buttons.codeText(n), session.naming())},
             {"code", buttons.codeText(n)}});
    }
    doc["buttons"] = buttonList;
    const FireKeySetting fire = buttons.fireKey();
    doc["fireKey"] = {{"repeat", fire.repeat}, {"delay", fire.delay}};
    doc["macros"] = deviceMacroList(session);
    return doc;
}

std::string showText(const Json& doc) {
    std::string out;
    auto line = [&](const std::string& text) { out += text + "\n"; };
    const Json& mouse = doc["mouse"];
    line("Mouse: variant " + std::to_string(mouse["variant"].get<int>()) + " (HID version " +
         mouse["version"].get<std::string>() + ")" +
         (mouse["macros"].get<bool>() ? ", keeps macros" : ", no macro memory"));

    const Json& sens = doc["sensitivity"];
    line("Sensitivity: " + std::to_string(sens["levelsInUse"].get<int>()) + " of " +
         std::to_string(kDpiLevelCount) + " levels in use, current level " +
         std::to_string(sens["current"].get<int>()));
    for (const Json& level : sens["levels"]) {
        line("  level " + std::to_string(level["level"].get<int>()) + ": " +
             (level["dpi"].is_number() ? std::to_string(level["dpi"].get<int>()) + " dpi"
                                       : std::string("no step")) +
             ", colour " +
             std::to_string(level["color"].get<int>()) +
             (level["inUse"].get<bool>() ? "" : "  (not in use)"));
    }

    const Json& light = doc["light"];
    std::string modes;
    for (const Json& mode : light["modes"]) modes += (modes.empty() ? "" : ", ") + mode.get<std::string>();
    line("Light: " + light["type"].get<std::string>() + " light" +
         (modes.empty() ? std::string(", no modes") : ", modes " + modes));
    line("  mcpi " + light["mcpi"].get<std::string>() + ", effect " +
         light["effect"].get<std::string>() + ", mode " + light["mode"].get<std::string>());
    for (const auto& [name, value] : light["times"].items()) {
        line("  " + name + " " + std::to_string(value.get<int>()));
    }

    line("Buttons:");
    for (const Json& button : doc["buttons"]) {
        const std::string function = button["function"].get<std::string>();
        line("  " + std::to_string(button["button"].get<int>()) + ": " +
             (function.empty() ? "(unnamed)" : function) + "  [" +
             button["code"].get<std::string>() + "]");
    }
    line("Fire key: repeat " + std::to_string(doc["fireKey"]["repeat"].get<int>()) + ", delay " +
         std::to_string(doc["fireKey"]["delay"].get<int>()));
    if (mouse["macros"].get<bool>()) {
        line("Macros in the mouse: " + std::to_string(doc["macros"].size()) + " of " +
             std::to_string(kDeviceMacroSlots));
        out += macroListText(doc["macros"], "  ");
    }
    return out;
}

}  // namespace kvr
