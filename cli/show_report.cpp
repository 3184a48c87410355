#include "cli/show_report.h"

#include <cstdio>

#include "cli/mouse_session.h"
#include "cli/setting_changes.h"

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

}  // namespace

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
                             {"step", levels.valueText(n)},
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
    const LightTypeWords& words = light.words();
    doc["light"] = {{"type", words.type},
                    {"sync", words.sync},
                    {"breathing", words.breathing},
                    {"colors", words.colorCount},
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
             level["step"].get<std::string>() + ", colour " +
             std::to_string(level["color"].get<int>()) +
             (level["inUse"].get<bool>() ? "" : "  (not in use)"));
    }

    const Json& light = doc["light"];
    line("Light: " + light["type"].get<std::string>() + " " + light["sync"].get<std::string>() +
         " " + light["breathing"].get<std::string>() + " " + light["colors"].get<std::string>());
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
    return out;
}

}  // namespace kvr
