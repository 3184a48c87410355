#include "base/layout_controls.h"

#include <map>

namespace kvr {

namespace {

// Appends in place: `"_" + std::to_string(k)` makes GCC 12 warn falsely (-Wrestrict).
std::string numbered(std::string_view prefix, int n, std::string_view suffix = {}) {
    std::string s(prefix);
    s += std::to_string(n);
    s += suffix;
    return s;
}

class TableBuilder {
public:
    std::vector<LayoutControl> controls;

    void add(std::string name, ControlKind kind, std::string container) {
        controls.push_back({std::move(name), kind, std::move(container)});
    }
    // A picture with its caption label over it.
    void pair(const std::string& image, const std::string& label, const std::string& in) {
        add(image, ControlKind::Image, in);
        add(label, ControlKind::Label, in);
    }
};

std::vector<LayoutControl> buildTable() {
    TableBuilder t;
    auto page = [](int p) { return numbered("gbPage", p); };
    for (int p = 1; p <= kPageCount; ++p) t.add(page(p), ControlKind::Page, "");
    for (int p = 1; p <= kPageCount; ++p) {
        t.add(numbered("Img_Base_", p), ControlKind::Image, page(p));
        t.add(numbered("Img_P", p), ControlKind::Image, page(p));
    }

    // Page 1: key labels, the no-mouse click-catcher and the function menus.
    for (int k = 1; k <= 9; ++k) t.pair(numbered("Img_Key", k), numbered("Key", k), page(1));
    t.add("Disable", ControlKind::Label, page(1));
    const std::pair<const char*, std::vector<const char*>> menus[] = {
        {"Pnl_Main",
         {"Key_Standard", "Key_Special", "Key_Media", "Key_WWW", "Key_MyPC", "Key_Assembly",
          "Key_Macro"}},
        {"Pnl_MseKey", {"Key_Left", "Key_Right", "Key_Middle", "Key_B4", "Key_B5"}},
        {"Pnl_Special", {"Key_Fire", "Key_CPI", "Key_CPII", "Key_CPID", "Key_LEDSwitch"}},
        {"Pnl_Media",
         {"Key_PlayPause", "Key_Stop", "Key_PreviousTrack", "Key_NextTrack", "Key_VolumePlus",
          "Key_VolumeMinus", "Key_Mute"}},
        {"Pnl_WWW",
         {"Key_WWWHome", "Key_WWWSearch", "Key_WWWBack", "Key_WWWForward", "Key_WWWStop",
          "Key_WWWRefresh", "Key_WWWFavorites"}},
        {"Pnl_MyPC", {"Key_Computer", "Key_Calculator", "Key_EMail"}},
    };
    for (const auto& [panel, entries] : menus) {
        t.add(panel, ControlKind::Panel, page(1));
        for (const char* e : entries) t.add(e, ControlKind::Label, panel);
    }

    // Page 2: the three pointer scales, the fire-key fields and the eight sensitivity levels.
    for (const char* scale : {"Spd", "DbSpd", "ScrSpd"}) {
        for (int i = 1; i <= 10; ++i) {
            t.pair(numbered(std::string("Img_") + scale, i),
                   numbered(std::string("lbl_") + scale, i), page(2));
        }
    }
    t.add("Edt_Repeat1", ControlKind::Edit, page(2));
    t.add("Edt_DelayTime1", ControlKind::Edit, page(2));
    for (int n = 1; n <= 8; ++n) {
        t.add(numbered("Edt_CPI", n, "Color"), ControlKind::Edit, page(2));
        t.add(numbered("Img_DPI", n), ControlKind::Image, page(2));
        t.add(numbered("lbl_DPI", n), ControlKind::Label, page(2));
        t.add(numbered("lbl_DPI", n, "Value"), ControlKind::Label, page(2));
        for (int k = 1; k <= 8; ++k) {
            t.add(numbered("Img_DPI", n, numbered("_", k)), ControlKind::Image, page(2));
        }
    }

    // Page 3: option pictures with their labels, and the time fields.
    for (const char* option :
         {"MCPIOn", "MCPIOff", "LEDKeyOn", "LEDKeyOff", "LEDNTMode1", "LEDNTMode2", "LEDNTMode3",
          "LEDNTMode4", "LEDNTMode5", "LEDColorMode1", "LEDColorMode2", "LEDColorBre1",
          "LEDColorBre2", "LEDColorBre3", "LEDColorBre4"}) {
        t.pair(std::string("Img_") + option, std::string("lbl_") + option, page(3));
    }
    for (const char* field :
         {"edt_LEDNTMode1Time", "edt_LEDNTMode2Time", "edt_LEDNTMode2Hold", "edt_LEDNTMode3Time",
          "edt_LEDNTMode3Count", "edt_OffTime", "edt_RiseTime", "edt_LightTime", "edt_FallTime"}) {
        t.add(field, ControlKind::Edit, page(3));
    }

    // Page 4: macro lists and commands, the delay group and the insert group.
    t.add("LB_PCMacroName", ControlKind::List, page(4));
    t.add("LB_MacroName", ControlKind::List, page(4));
    t.add("LB_macro", ControlKind::List, page(4));
    t.pair("Img_Start", "Btn_Start", page(4));
    // The list commands live on the lists' context panels.
    const std::pair<const char*, std::vector<const char*>> contextPanels[] = {
        {"Pnl_PCMacro",
         {"Btn_NewMacro", "Btn_NewName", "Btn_DelPCMacro", "Btn_ImportOne", "Btn_Import",
          "Btn_ExportOne", "Btn_Export", "Btn_AddMacro"}},
        {"Pnl_DevMacro", {"Btn_DelMacro", "Btn_DevExport"}},
        {"Pnl_DevContent", {"Btn_Del", "Btn_Insert"}},
    };
    for (const auto& [panel, buttons] : contextPanels) {
        t.add(panel, ControlKind::Panel, page(4));
        for (const char* button : buttons) t.add(button, ControlKind::Label, panel);
    }
    t.add("Gb_Delay", ControlKind::Group, page(4));
    for (const char* option : {"RecDelay", "DelayTime", "NoDelay"}) {
        t.pair(std::string("LED_") + option, std::string("IB_") + option, "Gb_Delay");
    }
    t.add("Edt_Delay", ControlKind::Edit, "Gb_Delay");
    t.add("Img_InsertBase", ControlKind::Image, page(4));
    t.add("Gb_Insert", ControlKind::Group, page(4));
    t.add("CB_Insert", ControlKind::Choice, "Gb_Insert");
    for (const char* option : {"InsertRecDelay", "InsertDelayTime", "InsertNoDelay"}) {
        t.pair(std::string("LED_") + option, std::string("IB_") + option, "Gb_Insert");
    }
    t.add("Edt_InsertDelay", ControlKind::Edit, "Gb_Insert");
    t.add("lbl_Delay", ControlKind::Label, "Gb_Insert");
    t.add("lbl_s_A", ControlKind::Label, "Gb_Insert");
    t.pair("Img_InsertStart", "Btn_InsertStart", "Gb_Insert");
    t.pair("Img_OK", "Btn_OK", "Gb_Insert");
    t.pair("Img_Cancel", "Btn_Cancel", "Gb_Insert");

    // Every page: the web button and the common buttons, above the page's own controls.
    for (int p = 1; p <= kPageCount; ++p) {
        t.pair(pageCopy("Img_", "Web", p), pageCopy("Btn_", "Web", p), page(p));
        for (std::string_view b : kCommonButtons) {
            t.pair(pageCopy("Img_", b, p), pageCopy("Btn_", b, p), page(p));
        }
    }
    return std::move(t.controls);
}

}  // namespace

std::string pageCopy(std::string_view prefix, std::string_view name, int page) {
    return std::string(prefix) + std::string(name) + "_" + std::to_string(page);
}

const std::vector<LayoutControl>& layoutControls() {
    static const std::vector<LayoutControl> kTable = buildTable();
    return kTable;
}

const LayoutControl* findLayoutControl(std::string_view name) {
    static const std::map<std::string_view, const LayoutControl*> kByName = [] {
        std::map<std::string_view, const LayoutControl*> index;
        for (const LayoutControl& c : layoutControls()) index.emplace(c.name, &c);
        return index;
    }();
    const auto it = kByName.find(name);
    return it == kByName.end() ? nullptr : it->second;
}

int pageOfControl(std::string_view name) {
    const LayoutControl* c = findLayoutControl(name);
    // Containers come before what they hold, so the walk up ends at a page.
    while (c != nullptr && c->kind != ControlKind::Page) c = findLayoutControl(c->container);
    if (c == nullptr || c->name == name) return 0;
    return c->name.back() - '0';
}

}  // namespace kvr
