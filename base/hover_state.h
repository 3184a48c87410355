#pragma once
// The hover of one caption label at a time, and the scrolling caption that the marquee timer
// draws from it.
#include <string>

namespace kvr {

struct HoverState {
    std::string labelName;
    std::string savedCaption;
    std::string runningCaption;
    int ticks = 0;

    void begin(std::string name, std::string caption);
    // One marquee step; returns the caption to show now. The first step puts a gap of four
    // blanks after the text, later steps rotate one character to the left.
    const std::string& tick();
};

}  // namespace kvr
