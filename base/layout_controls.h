#pragma once
// The controls that the layout, the captions and the language switch address, by name, with
// the kind of control and its container. The window creates exactly these (and may have more
// of its own); coordinates of the layout are in the container's client area.
#include <string>
#include <string_view>
#include <vector>

namespace kvr {

inline constexpr int kPageCount = 4;

// The buttons that every page carries as "Img_" + name + "_" + page with the caption label
// "Btn_" + name + "_" + page over it.
inline constexpr std::string_view kCommonButtons[] = {"Confirm", "Apply",  "Reset", "Exit", "Main",
                                                      "Adv",     "Breath", "Macro", "Save", "Load",
                                                      "Lang1",   "Lang2",  "Lang3"};

// "Img_Main_2" for ("Img_", "Main", 2).
std::string pageCopy(std::string_view prefix, std::string_view name, int page);

enum class ControlKind {
    Page,    // gbPage1..gbPage4, 800 x 600 at the window's origin
    Group,   // a container inside a page, placed by the layout
    Panel,   // a menu panel of page 1, not placed by the layout
    Image,   // a picture that takes the size of its picture
    Label,   // a caption label, transparent over its image where it has one
    Edit,    // a one-line edit box
    List,    // a list of lines
    Choice,  // a drop-down choice list
};

struct LayoutControl {
    std::string name;
    ControlKind kind;
    std::string container;  // empty for a page
};

// In creation order: containers before what they hold, a picture before its caption label.
const std::vector<LayoutControl>& layoutControls();
const LayoutControl* findLayoutControl(std::string_view name);
// The page (1..kPageCount) whose container holds the control, however deep; 0 for a page itself
// and for a name the table does not hold.
int pageOfControl(std::string_view name);

}  // namespace kvr
