#pragma once
// A window that records what the layout and language apply do to its controls.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/layout_controls.h"
#include "base/layout_target.h"

namespace kvr::test {

using Rect = std::tuple<int, int, int, int>;  // left, top, width, height

struct ControlState {
    std::optional<int> left, top, width, height;
    std::optional<bool> visible;
    std::optional<int> fontSize;
    std::optional<Colour> fontColour, backColour, borderColour;
    std::string picture;
    std::string caption;
    std::vector<std::string> entries;
    int selected = -1;

    std::optional<std::pair<int, int>> position() const {
        if (!left || !top) return std::nullopt;
        return std::pair(*left, *top);
    }
    std::optional<Rect> geometry() const {
        if (!left || !top || !width || !height) return std::nullopt;
        return Rect(*left, *top, *width, *height);
    }
};

// The sizes of the skin pictures.
inline PictureSize pictureSize(const std::string& picture) {
    const std::pair<const char*, PictureSize> sizes[] = {
        {"MacroBtnS_", {40, 25}}, {"BtnS_", {48, 43}},    {"SetS_", {90, 30}},
        {"KeyS_", {135, 27}},     {"WebS_", {178, 88}},   {"Bar1_", {24, 7}},
        {"Bar2_", {19, 7}},       {"MacroS_", {80, 25}},  {"_BackGround", {800, 568}},
        {"_Back1", {460, 361}},   {"_Back2", {705, 340}}, {"_Back3", {521, 236}},
        {"_Back4", {600, 346}}};
    for (const auto& [part, size] : sizes) {
        if (picture.find(part) != std::string::npos) return size;
    }
    return {10, 10};
}

class RecordingWindow : public WindowTarget {
public:
    // Gives the images the pictures they have before the first layout, as at start.
    RecordingWindow() {
        for (int p = 1; p <= kPageCount; ++p) {
            const std::string n = std::to_string(p);
            for (const char* b : {"Confirm", "Apply", "Reset", "Exit"})
                put("Img_" + std::string(b) + "_" + n, "BtnS_01");
            for (const char* b :
                 {"Main", "Adv", "Breath", "Macro", "Save", "Load", "Lang1", "Lang2", "Lang3"}) {
                put("Img_" + std::string(b) + "_" + n, "SetS_01");
            }
            put("Img_Web_" + n, "WebS_01");
        }
        for (int k = 1; k <= 9; ++k) put("Img_Key" + std::to_string(k), "KeyS_01");
        for (const char* s : {"Img_Spd1", "Img_DbSpd1", "Img_ScrSpd1"}) put(s, "Bar1_E");
        for (int n = 1; n <= 8; ++n) put("Img_DPI" + std::to_string(n) + "_1", "Bar2_E");
        for (const char* s : {"Img_Start", "Img_InsertStart"}) put(s, "MacroS_01");
        for (const char* s : {"Img_OK", "Img_Cancel"}) put(s, "MacroBtnS_01");
        log.clear();
    }

    const ControlState& at(const std::string& name) { return controls[name]; }

    bool loadPicture(std::string_view image, std::string_view picture) override {
        note("picture", image, std::string(picture));
        if (missingPictures.contains(std::string(picture))) return false;
        put(std::string(image), std::string(picture));
        return true;
    }
    PictureSize imageSize(std::string_view image) const override {
        const auto it = controls.find(std::string(image));
        if (it == controls.end() || !it->second.width) return {};
        return {*it->second.width, *it->second.height};
    }
    void move(std::string_view c, int left, int top) override {
        ControlState& s = note("move", c, std::to_string(left) + "," + std::to_string(top));
        s.left = left;
        s.top = top;
    }
    void setGeometry(std::string_view c, int left, int top, int width, int height) override {
        ControlState& s = note("geometry", c);
        s.left = left;
        s.top = top;
        s.width = width;
        s.height = height;
    }
    void setVisible(std::string_view c, bool visible) override {
        note(visible ? "show" : "hide", c).visible = visible;
    }
    void setFontSize(std::string_view c, int points) override { note("font", c).fontSize = points; }
    void setFontColour(std::string_view c, Colour colour) override {
        note("colour", c).fontColour = colour;
    }
    void setBackColour(std::string_view c, Colour colour) override {
        note("back", c).backColour = colour;
    }
    void setBorderColour(std::string_view c, Colour colour) override {
        note("border", c).borderColour = colour;
    }

    std::string caption(std::string_view c) const override {
        const auto it = controls.find(std::string(c));
        return it == controls.end() ? std::string() : it->second.caption;
    }
    void setCaption(std::string_view c, std::string_view text) override {
        note("caption", c, std::string(text)).caption = std::string(text);
    }
    void setEntries(std::string_view c, std::span<const std::string> entries) override {
        ControlState& s = note("entries", c);
        s.entries.assign(entries.begin(), entries.end());
        s.selected = -1;
    }

    int currentPage() const override { return page; }
    void markCurrentLanguage(int n) override {
        log.push_back("language " + std::to_string(n));
        currentLanguage = n;
    }
    int selectedEntry(std::string_view c) const override {
        const auto it = controls.find(std::string(c));
        return it == controls.end() ? -1 : it->second.selected;
    }
    void selectEntry(std::string_view c, int index) override {
        note("select", c, std::to_string(index)).selected = index;
    }
    void setApplicationTitle(std::string_view t) override {
        log.push_back("title " + std::string(t));
        title = t;
    }
    void RefreshAPPage() override { log.push_back("refresh"); }
    void resetHover(std::string_view label, std::string_view caption) override {
        log.push_back("hover " + std::string(label));
        hover = {std::string(label), std::string(caption)};
    }

    // Where in the log an entry first appears; the log's size when it does not.
    std::size_t logIndex(const std::string& entry) const {
        std::size_t i = 0;
        while (i < log.size() && log[i] != entry) ++i;
        return i;
    }

    std::map<std::string, ControlState> controls;
    std::vector<std::string> log;
    std::set<std::string> addressed;
    std::set<std::string> unknownControls;  // addressed but not in layoutControls()
    std::set<std::string> missingPictures;
    int page = 1;
    int currentLanguage = 0;
    std::string title;
    std::pair<std::string, std::string> hover;

private:
    void put(const std::string& image, const std::string& picture) {
        ControlState& s = controls[image];
        s.picture = picture;
        const PictureSize size = pictureSize(picture);
        s.width = size.width;
        s.height = size.height;
    }
    ControlState& note(const char* what, std::string_view control, const std::string& detail = {}) {
        const std::string name(control);
        log.push_back(std::string(what) + " " + name + (detail.empty() ? "" : " " + detail));
        addressed.insert(name);
        if (findLayoutControl(name) == nullptr) unknownControls.insert(name);
        return controls[name];
    }
};

}  // namespace kvr::test
