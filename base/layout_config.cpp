#include "base/layout_config.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "base/layout_controls.h"
#include "base/resources.h"

namespace kvr {

namespace {

using Names = std::vector<std::string>;

// Positions are computed wide and kept within int, so that no table value overflows.
int clampToInt(long long v) {
    return int(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Appends in place: `"_" + std::to_string(k)` makes GCC 12 warn falsely (-Wrestrict).
std::string str(std::string_view prefix, int n, std::string_view suffix = {}) {
    std::string s(prefix);
    s += std::to_string(n);
    s += suffix;
    return s;
}

Names commonCopies(std::string_view prefix, std::initializer_list<std::string_view> buttons) {
    Names names;
    for (int p = 1; p <= kPageCount; ++p) {
        for (std::string_view b : buttons) names.push_back(pageCopy(prefix, b, p));
    }
    return names;
}

Names series(std::string_view prefix, int first, int last, std::string_view suffix = {}) {
    Names names;
    for (int i = first; i <= last; ++i) names.push_back(str(prefix, i, suffix));
    return names;
}

Names operator+(Names a, const Names& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A control placed at the item's X, Y moved by (dx, dy).
struct Offset {
    std::string name;
    int dx = 0;
    int dy = 0;
};

class Applier {
public:
    Applier(std::string_view table, LayoutTarget& target) : table_(table), target_(target) {}

    ApplyResult result() const { return result_; }

    // Reads a key as a whole number, or records why the apply stops there.
    bool read(std::string_view key, int& out, std::optional<std::string_view> value) {
        if (!value) {
            return fail(key, "The layout table \"" + table_ + "\" has no key \"" +
                                 std::string(key) + "\".");
        }
        const std::optional<int> number = parseInteger(*value);
        if (!number) {
            return fail(key, "The key \"" + std::string(key) + "\" of the layout table \"" +
                                 table_ + "\" is not a whole number: \"" + std::string(*value) +
                                 "\".");
        }
        out = *number;
        return true;
    }

    // A caption label over its picture, `inset` pixels in from the left and `insetBack` from
    // the right. A picture narrower than both insets leaves the label no width.
    void sizeToImage(const std::string& label, const std::string& image, int x, int y,
                     int inset = 0, int insetBack = 0) {
        const PictureSize size = target_.imageSize(image);
        target_.setGeometry(label, clampToInt(1LL * x + inset), y,
                            clampToInt(std::max(0LL, 1LL * size.width - inset - insetBack)),
                            size.height);
    }

private:
    bool fail(std::string_view key, std::string message) {
        result_.failedKey = std::string(key);
        result_.error = std::move(message);
        return false;
    }

    std::string table_;
    LayoutTarget& target_;
    ApplyResult result_;
};

class LayoutApplier {
public:
    LayoutApplier(const LayoutConfig& config, LayoutTarget& target, LayoutValues& values)
        : config_(config), a_(config.sectionName(), target), t_(target), values_(values) {}

    ApplyResult run() {
        (void)(groupA() && groupB() && buttonsPage() && advancedPage() && lightPage() &&
               macroPage());
        return a_.result();
    }

private:
    bool read(std::string_view key, int& out) { return a_.read(key, out, config_.value(key)); }
    bool readXY(std::string_view item, int& x, int& y) {
        const std::string name(item);
        return read(name + "_X", x) && read(name + "_Y", y);
    }
    bool readColour(std::string_view prefix, Colour& out) {
        const std::string name(prefix);
        int r = 0, g = 0, b = 0;
        if (!read(name + "_R", r) || !read(name + "_G", g) || !read(name + "_B", b)) return false;
        out = colourOf(r, g, b);
        return true;
    }

    bool fontSize(std::string_view key, const Names& names, int delta = 0) {
        int size = 0;
        if (!read(key, size)) return false;
        for (const std::string& n : names) t_.setFontSize(n, clampToInt(1LL * size + delta));
        return true;
    }
    bool fontColour(std::string_view prefix, const Names& names, Colour* stored = nullptr) {
        Colour c;
        if (!readColour(prefix, c)) return false;
        if (stored != nullptr) *stored = c;
        for (const std::string& n : names) t_.setFontColour(n, c);
        return true;
    }
    bool at(std::string_view item, const std::vector<Offset>& controls) {
        int x = 0, y = 0;
        if (!readXY(item, x, y)) return false;
        for (const Offset& c : controls) {
            t_.move(c.name, clampToInt(1LL * x + c.dx), clampToInt(1LL * y + c.dy));
        }
        return true;
    }
    // A picture and the caption label over it, sized to it.
    bool skinButton(std::string_view item, const std::string& image, const std::string& label) {
        int x = 0, y = 0;
        if (!readXY(item, x, y)) return false;
        t_.move(image, x, y);
        a_.sizeToImage(label, image, x, y);
        return true;
    }
    // An option picture with its label a little up and to the left of it.
    bool option(std::string_view name) {
        return at(name, {{"Img_" + std::string(name)}, {"lbl_" + std::string(name), -4, -2}});
    }
    bool placed(std::string_view item, const std::string& control) { return at(item, {{control}}); }

    // A common button: its four captions and four pictures, shown when "_Enable" is exactly 1.
    bool commonButton(std::string_view item, std::string_view button, bool trapezoid) {
        const std::string key(item);
        int enable = 0;
        if (!read(key + "_Enable", enable)) return false;
        const bool shown = enable == 1;
        for (int p = 1; p <= kPageCount; ++p) t_.setVisible(pageCopy("Btn_", button, p), shown);
        for (int p = 1; p <= kPageCount; ++p) t_.setVisible(pageCopy("Img_", button, p), shown);
        if (!shown) return true;
        int x = 0, y = 0;
        if (!readXY(item, x, y)) return false;
        for (int p = 1; p <= kPageCount; ++p) t_.move(pageCopy("Img_", button, p), x, y);
        for (int p = 1; p <= kPageCount; ++p) {
            a_.sizeToImage(pageCopy("Btn_", button, p), pageCopy("Img_", button, p), x, y,
                           trapezoid ? values_.ButtonSpaceFront : 0,
                           trapezoid ? values_.ButtonSpaceBack : 0);
        }
        return true;
    }

    bool groupA() {
        const Names labels = commonCopies("Btn_", {"Confirm", "Apply", "Reset", "Exit"});
        return fontSize("Size_A", labels) && fontColour("Color_A", labels) &&
               commonButton("Btn_A1", "Confirm", false) && commonButton("Btn_A2", "Apply", false) &&
               commonButton("Btn_A3", "Reset", false) && commonButton("Btn_A4", "Exit", false);
    }

    bool groupB() {
        const Names labels = commonCopies(
            "Btn_", {"Main", "Adv", "Breath", "Macro", "Save", "Load", "Lang1", "Lang2", "Lang3"});
        if (!fontSize("Size_B", labels) || !fontColour("Color_B", labels) ||
            !read("Btn_Space_F", values_.ButtonSpaceFront) ||
            !read("Btn_Space_B", values_.ButtonSpaceBack)) {
            return false;
        }
        // The numbering of these items has no 2 and 3.
        const std::pair<const char*, const char*> items[] = {
            {"Btn_B1", "Main"},   {"Btn_B4", "Adv"},   {"Btn_B5", "Breath"},
            {"Btn_B11", "Macro"}, {"Btn_B6", "Save"},  {"Btn_B7", "Load"},
            {"Btn_B8", "Lang1"},  {"Btn_B9", "Lang2"}, {"Btn_B10", "Lang3"}};
        for (const auto& [item, button] : items) {
            if (!commonButton(item, button, true)) return false;
        }
        return true;
    }

    bool buttonsPage() {
        const Names keys = series("Key", 1, 9);
        if (!fontSize("Size_C", keys) || !fontColour("Color_C", keys) || !placed("P1", "Img_P1")) {
            return false;
        }
        for (int k = 1; k <= 9; ++k) {
            const std::string item = str("Key", k);
            const std::string image = str("Img_Key", k);
            int enable = 0;
            if (!read(item + "_Enable", enable)) return false;
            t_.setVisible(item, enable == 1);
            t_.setVisible(image, enable == 1);
            if (enable == 1 && !skinButton(item, image, item)) return false;
        }
        int x = 0, y = 0, h = 0, w = 0;
        if (!read("Disable_X", x) || !read("Disable_Y", y) || !read("Disable_H", h) ||
            !read("Disable_W", w)) {
            return false;
        }
        t_.setGeometry("Disable", x, y, w, h);
        return true;
    }

    // Segment i of a row sits one first-segment width after segment i - 1.
    bool scale(std::string_view item, std::string_view name) {
        int x = 0, y = 0;
        if (!readXY(item, x, y)) return false;
        const std::string image = "Img_" + std::string(name);
        const long long width = t_.imageSize(str(image, 1)).width;
        for (int i = 1; i <= 10; ++i) {
            const long long left = x + (i - 1) * width;
            t_.move(str(image, i), clampToInt(left), y);
            t_.move(str("lbl_" + std::string(name), i), clampToInt(left - 4),
                    clampToInt(1LL * y + 8));
        }
        return true;
    }

    bool level(int n) {
        const std::string item = str("DPI", n);
        if (!placed(item + "_Color", str("Edt_CPI", n, "Color")) ||
            !placed(item + "_Check", str("Img_DPI", n)) || !placed(item, str("lbl_DPI", n)) ||
            !placed(item + "_Value", str("lbl_DPI", n, "Value"))) {
            return false;
        }
        int x = 0, y = 0;
        if (!readXY(item + "_Steps", x, y)) return false;
        const long long width = t_.imageSize(str("Img_DPI", n, "_1")).width;
        for (int k = 1; k <= 8; ++k) {
            t_.move(str("Img_DPI", n, str("_", k)), clampToInt(x + (k - 1) * width), y);
        }
        return true;
    }

    bool advancedPage() {
        const Names scaleLabels =
            series("lbl_Spd", 1, 10) + series("lbl_DbSpd", 1, 10) + series("lbl_ScrSpd", 1, 10);
        const Names values = series("lbl_DPI", 1, 4, "Value");
        const Names fireKey = {"Edt_Repeat1", "Edt_DelayTime1"};
        // Levels 5 to 8 keep the fonts they were made with.
        if (!fontSize("Size_D", scaleLabels + values) ||
            !fontSize("Size_D", series("lbl_DPI", 1, 4), 1) ||
            !readColour("Color_D_Selected", values_.DpiSelectedColor) ||
            !fontColour("Color_D_notSelected", scaleLabels + values + fireKey,
                        &values_.DpiNormalColor)) {
            return false;
        }
        Colour back;
        if (!readColour("Color_D_Back", back)) return false;
        for (const std::string& n : fireKey) {
            t_.setBackColour(n, back);
            t_.setBorderColour(n, back);
        }
        if (!placed("P2", "Img_P2") || !placed("FKCnt", "Edt_Repeat1") ||
            !placed("FKDelay", "Edt_DelayTime1") || !scale("Spd", "Spd") ||
            !scale("DbSpd", "DbSpd") || !scale("ScrSpd", "ScrSpd")) {
            return false;
        }
        for (int n = 1; n <= 8; ++n) {
            if (!level(n)) return false;
        }
        return true;
    }

    bool lightPage() {
        const Names times = {"edt_LEDNTMode1Time", "edt_LEDNTMode2Time", "edt_LEDNTMode3Time",
                             "edt_OffTime",        "edt_RiseTime",       "edt_LightTime",
                             "edt_FallTime"};
        if (!fontColour("Color_E", times) || !placed("P3", "Img_P3")) return false;
        for (const char* o : {"MCPIOn", "MCPIOff", "LEDKeyOn", "LEDKeyOff", "LEDNTMode1",
                              "LEDNTMode2", "LEDNTMode3", "LEDNTMode4", "LEDNTMode5"}) {
            if (!option(o)) return false;
        }
        for (const char* f : {"LEDNTMode1Time", "LEDNTMode2Time", "LEDNTMode2Hold",
                              "LEDNTMode3Time", "LEDNTMode3Count"}) {
            if (!placed(f, "edt_" + std::string(f))) return false;
        }
        for (const char* o : {"LEDColorMode1", "LEDColorMode2", "LEDColorBre1", "LEDColorBre2",
                              "LEDColorBre3", "LEDColorBre4"}) {
            if (!option(o)) return false;
        }
        for (const char* f : {"OffTime", "RiseTime", "LightTime", "FallTime"}) {
            if (!placed(f, "edt_" + std::string(f))) return false;
        }
        return true;
    }

    // Three delay choices one row apart: lamp at X, its label two pixels to the left.
    bool delayRows(std::string_view item, std::initializer_list<const char*> options) {
        int x = 0, y = 0, h = 0;
        if (!readXY(item, x, y) || !read(std::string(item) + "_H", h)) return false;
        long long top = y;
        for (const char* o : options) {
            t_.move("LED_" + std::string(o), x, clampToInt(top));
            t_.move("IB_" + std::string(o), clampToInt(x - 2LL), clampToInt(top));
            top += h;
        }
        return true;
    }

    bool macroPage() {
        const Names buttons = {"Btn_Export",     "Btn_Import",   "Btn_Del",       "Btn_Insert",
                               "Btn_NewName",    "Btn_NewMacro", "Btn_DelMacro",  "Btn_DevExport",
                               "Btn_DelPCMacro", "Btn_AddMacro", "Btn_ExportOne", "Btn_ImportOne"};
        const Names insertTexts = {"IB_InsertRecDelay", "IB_InsertDelayTime", "IB_InsertNoDelay",
                                   "lbl_Delay", "lbl_s_A"};
        const Names recordButtons = {"Btn_InsertStart", "Btn_OK", "Btn_Cancel"};
        const Names sized = Names{"Btn_Start"} + buttons +
                            Names{"LB_PCMacroName", "LB_MacroName", "Edt_Delay"} + insertTexts +
                            Names{"Edt_InsertDelay"} + recordButtons;
        const Names textColoured = Names{"Btn_Start", "CB_Insert"} + insertTexts + recordButtons;
        const Names listColoured =
            Names{"LB_PCMacroName"} + buttons +
            Names{"LB_MacroName", "LB_macro", "Edt_Delay", "Edt_InsertDelay"};
        if (!fontSize("Size_F", sized) || !fontSize("Size_F", {"CB_Insert"}, -1) ||
            !fontColour("Color_F", textColoured, &values_.MacroTextColor) ||
            !fontColour("Color_F_Font", listColoured, &values_.MacroListTextColor)) {
            return false;
        }
        if (!readColour("Color_F_Back", values_.MacroListBackColor)) return false;
        for (const std::string& n : listColoured) t_.setBackColour(n, values_.MacroListBackColor);
        for (const char* n : {"Edt_Delay", "Edt_InsertDelay"}) {
            t_.setBorderColour(n, values_.MacroListBackColor);
        }
        return placed("P4", "Img_P4") && placed("PCMacroName", "LB_PCMacroName") &&
               placed("MseMacroName", "LB_MacroName") &&
               read("MacroNameHeight", values_.MacroNameHeight) &&
               skinButton("BtnStart", "Img_Start", "Btn_Start") &&
               placed("MacroContent", "LB_macro") && placed("DelayTime", "Gb_Delay") &&
               delayRows("RecDelay", {"RecDelay", "DelayTime", "NoDelay"}) &&
               placed("DelayEdit", "Edt_Delay") &&
               at("Insert", {{"Gb_Insert"}, {"Img_InsertBase"}}) &&
               placed("InsertList", "CB_Insert") &&
               delayRows("InsertRecDelay",
                         {"InsertRecDelay", "InsertDelayTime", "InsertNoDelay"}) &&
               at("InsertDelayEdit",
                  {{"Edt_InsertDelay"}, {"lbl_Delay", -74, 2}, {"lbl_s_A", 44, 2}}) &&
               skinButton("InsertBtnStart", "Img_InsertStart", "Btn_InsertStart") &&
               skinButton("InsertBtnOK", "Img_OK", "Btn_OK") &&
               skinButton("InsertBtnCancel", "Img_Cancel", "Btn_Cancel");
    }

    const LayoutConfig& config_;
    Applier a_;
    LayoutTarget& t_;
    LayoutValues& values_;
};

}  // namespace

LayoutConfig::LayoutConfig(IniReader reader, int layoutIndex)
    : reader_(std::move(reader)),
      layoutIndex_(layoutIndex),
      section_("org" + std::to_string(layoutIndex)) {}

LayoutConfig LayoutConfig::fromBytes(std::span<const unsigned char> bytes, int layoutIndex) {
    return LayoutConfig(IniReader::fromText(bytes), layoutIndex);
}

LayoutConfigResult LayoutConfig::load(int layoutIndex) {
    const std::string name = "org" + std::to_string(layoutIndex);
    const auto bytes = findResource(name);
    if (!bytes) return {std::nullopt, "The layout table \"" + name + "\" is missing."};
    return {fromBytes(*bytes, layoutIndex), {}};
}

ApplyResult applyLayoutTable(const LayoutConfig& config, LayoutTarget& target,
                             LayoutValues& values) {
    return LayoutApplier(config, target, values).run();
}

ApplyResult LoadOrgSection(std::span<const unsigned char> table, LayoutTarget& target,
                           OrgSection& org) {
    const IniReader reader = IniReader::fromText(table);
    Applier a("org", target);
    auto read = [&](std::string_view key, int& out) {
        return a.read(key, out, reader.value("org", key));
    };
    org.WebAddress = reader.text("org", "Web");
    if (!read("Web_X", org.webX) || !read("Web_Y", org.webY)) return a.result();
    for (int p = 1; p <= kPageCount; ++p)
        target.move(pageCopy("Img_", "Web", p), org.webX, org.webY);
    for (int p = 1; p <= kPageCount; ++p) {
        a.sizeToImage(pageCopy("Btn_", "Web", p), pageCopy("Img_", "Web", p), org.webX, org.webY);
    }
    (void)(read("Rev_Manu_ID", org.ReserveVendorId) && read("Rev_Pro_ID", org.ReserveProductId));
    return a.result();
}

ApplyResult LoadOrgSection(LayoutTarget& target, OrgSection& org) {
    const auto bytes = findResource("org");
    if (!bytes) return {"The layout table \"org\" is missing.", {}};
    return LoadOrgSection(*bytes, target, org);
}

}  // namespace kvr
