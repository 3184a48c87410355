#pragma once
// Where the layout tables put the controls that the pictures frame, in window coordinates.
// The panels are drawn so that their headings and drawings line up with these places.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <optional>
#include <vector>

namespace art {

inline constexpr QSize kBackgroundSize{800, 568};
inline constexpr std::array<QSize, 4> kPanelSizes = {QSize{460, 361}, QSize{705, 340},
                                                     QSize{521, 236}, QSize{600, 346}};
inline constexpr QSize kKeyLabelSize{135, 27};
inline constexpr QSize kRoundButtonSize{48, 43};
inline constexpr QSize kPageButtonSize{90, 30};
inline constexpr QSize kWebButtonSize{178, 88};
inline constexpr QSize kRadioSize{16, 16};
inline constexpr int kPageButtonSlant = 12;  // the caption inset of the layout tables

struct LayoutGeometry {
    std::array<QPoint, 4> panels;                    // Img_P1..Img_P4
    std::array<std::optional<QPoint>, 9> keyLabels;  // Key1..Key9 when shown
    std::vector<QPoint> roundButtons;                // Confirm, Apply, Reset, Exit
    std::vector<QPoint> pageButtons;                 // Main, Adv, Breath, Macro, Save, Load
    std::vector<QPoint> languageButtons;             // Lang1..Lang3 when shown
    QPoint web{317, 495};
    // Breathing light page: the two switches and the breathing modes on the window.
    std::array<QPoint, 4> switches{QPoint{158, 196}, QPoint{246, 196}, QPoint{412, 196},
                                   QPoint{502, 196}};
    std::vector<QPoint> breathingModes;  // only those inside the window
    std::vector<QPoint> breathingTimes;  // edt_OffTime.. when inside the window
};

inline LayoutGeometry layoutGeometry(int layout) {
    LayoutGeometry g;
    g.panels = {QPoint{174, 131}, QPoint{88, 140}, QPoint{120, 168}, QPoint{112, 136}};
    g.roundButtons = {{590, 49}, {640, 49}, {690, 49}, {740, 49}};
    g.pageButtons = {{50, 497}, {494, 497}, {581, 497}, {668, 497}, {494, 530}, {581, 530}};
    g.languageButtons = {{50, 530}, {137, 530}};
    if (layout == 3) {
        g.keyLabels = {QPoint{144, 184}, QPoint{554, 194}, QPoint{134, 218},
                       QPoint{126, 264}, QPoint{126, 320}, QPoint{560, 254},
                       QPoint{560, 288}, std::nullopt,     std::nullopt};
        g.languageButtons.push_back({224, 530});
        g.breathingModes = {{164, 244}, {294, 244}, {446, 244}, {558, 244}};
        g.breathingTimes = {{326, 296}, {326, 320}, {326, 344}, {326, 370}};
    } else {
        g.keyLabels = {QPoint{135, 166}, QPoint{524, 192}, QPoint{560, 168},
                       QPoint{138, 294}, QPoint{138, 244}, QPoint{524, 238},
                       std::nullopt,     std::nullopt,     std::nullopt};
        g.breathingModes = {{layout == 2 ? 152 : 158, 244}, {246, 244}};
    }
    return g;
}

// Breathing light page, the same in every layout: the NT modes and the colour modes, and the
// NT time fields (Mode1Time, Mode2Time, Mode2Hold, Mode3Time, Mode3Count).
inline constexpr std::array<QPoint, 5> kNTModes = {QPoint{140, 244}, QPoint{246, 244},
                                                   QPoint{378, 244}, QPoint{468, 244},
                                                   QPoint{572, 244}};
inline constexpr std::array<QPoint, 2> kColourModes = {QPoint{156, 244}, QPoint{290, 244}};
inline constexpr std::array<QPoint, 5> kNTTimes = {QPoint{358, 290}, QPoint{358, 310},
                                                   QPoint{358, 331}, QPoint{358, 352},
                                                   QPoint{358, 372}};

// Advanced page, the same in every layout.
inline constexpr QPoint kRepeatField{254, 172};
inline constexpr QPoint kFireTimeField{254, 192};
inline constexpr std::array<QPoint, 3> kScales = {QPoint{144, 264}, QPoint{144, 346},
                                                  QPoint{144, 426}};
inline constexpr int kLevelPitch = 34;
inline constexpr QPoint kLevelCheck{440, 192};
inline constexpr QPoint kLevelCaption{466, 194};
inline constexpr QPoint kLevelSteps{546, 198};
inline constexpr QPoint kLevelColour{750, 194};

// Macro page, the same in every layout.
inline constexpr QPoint kPcMacroList{128, 186};
inline constexpr QPoint kMouseMacroList{312, 186};
inline constexpr QPoint kMacroContentList{520, 183};
inline constexpr QPoint kRecordButton{142, 422};
inline constexpr QPoint kDelayGroup{300, 312};
inline constexpr QSize kDelayGroupSize{207, 162};
inline constexpr QPoint kDelayRows{20, 36};  // first lamp inside the group; one row every 23
inline constexpr int kDelayRowPitch = 23;
inline constexpr QPoint kDelayField{137, 56};

}  // namespace art
