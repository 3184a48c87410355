#pragma once
// The words painted into the page panels, in the language of each layout.
#include <QString>

namespace art {

struct PanelWords {
    // Advanced page.
    QString fireKey, repeat, fireTime;
    QString mouseSpeed, doubleClickSpeed, scrollSpeed;
    QString dpiLevels, colour;
    // Breathing light page.
    QString mcpi, buttonEffect, on, off, lightMode, breathing, light, syncBreathing, lightOff;
    QString offTime, riseTime, lightTime, fallTime;
    // The NT light modes and their times.
    QString sevenColours, dpiColour, pulse, flash;
    QString colourTime, pulseTime, pulseHold, flashTime, flashCount;
    // Macro page.
    QString pcMacros, mouseMacros, macroContent;
    QString delayTime, recordDelay, defaultDelay, noDelay, ms;
};

// Layout 1 is Portuguese, layouts 2 and 3 English.
const PanelWords& wordsOfLayout(int layout);

}  // namespace art
