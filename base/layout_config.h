#pragma once
// The built-in layout tables ("ORG1".."ORG3", one per language) and the small table "ORG" of
// the web button, and how they place, show and colour the window's controls.
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/ini_reader.h"
#include "base/layout_target.h"

namespace kvr {

// What the layout keeps for the pages; every apply overwrites what it reads.
struct LayoutValues {
    int ButtonSpaceFront = 0;  // caption inset from a trapezoid picture's left edge
    int ButtonSpaceBack = 0;   // and from its right edge
    Colour DpiSelectedColor;   // caption colour of a sensitivity level in use
    Colour DpiNormalColor;     // caption colour of a level not in use
    Colour MacroTextColor;
    Colour MacroListTextColor;
    Colour MacroListBackColor;
    int MacroNameHeight = 0;  // item height of the two macro name lists
};

// The outcome of an apply. On failure the controls and values handled before the failing key
// keep their new settings and the rest keep their previous ones.
struct ApplyResult {
    std::string error;      // for the user; empty on success
    std::string failedKey;  // the table key the apply stopped at, when it was a key

    bool ok() const { return error.empty(); }
};

struct LayoutConfigResult;

class LayoutConfig {
public:
    // A layout table read from its bytes; its keys are those of section "org" + index.
    static LayoutConfig fromBytes(std::span<const unsigned char> bytes, int layoutIndex);
    // The built-in table of a layout (1..3).
    static LayoutConfigResult load(int layoutIndex);

    int layoutIndex() const { return layoutIndex_; }
    const std::string& sectionName() const { return section_; }
    std::optional<std::string_view> value(std::string_view key) const {
        return reader_.value(section_, key);
    }

private:
    LayoutConfig(IniReader reader, int layoutIndex);

    IniReader reader_;
    int layoutIndex_;
    std::string section_;
};

struct LayoutConfigResult {
    std::optional<LayoutConfig> config;
    std::string error;
};

// Places, shows, sizes and colours the controls key by key in the table's order: the circular
// buttons, the trapezoid buttons, then pages 1 to 4. A hidden item's position is not read. The
// apply stops at the first key that is missing or not a whole number.
ApplyResult applyLayoutTable(const LayoutConfig& config, LayoutTarget& target,
                             LayoutValues& values);

// Section "org": the web button and the reserve identity.
struct OrgSection {
    std::string WebAddress;  // opened by the web button; may be empty
    int webX = 0;
    int webY = 0;
    int ReserveVendorId = 0;
    int ReserveProductId = 0;
};

// Reads section "org", keeps its values in `org` and places the four web buttons, each caption
// label sized to its picture.
ApplyResult LoadOrgSection(std::span<const unsigned char> table, LayoutTarget& target,
                           OrgSection& org);
// The same with the built-in table "ORG".
ApplyResult LoadOrgSection(LayoutTarget& target, OrgSection& org);

}  // namespace kvr
