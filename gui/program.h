#pragma once
#include "base/command_line.h"

class QApplication;

namespace kvr {

inline constexpr const char* kProgramVersion = "1.0";
// The main window's title.
inline constexpr const char* kMainWindowTitle = "KVR5507 Gaming Mouse v1.0";
// The menu entry's id, without ".desktop": the window's app id under Wayland, and the id that
// desktops on X11 match the window with.
inline constexpr const char* kDesktopFileName = "org.example.kvr5507";
inline constexpr const char* kApplicationTitle = "KVR5507 Gaming Mouse";

// Single-instance check, the two windows, and the event loop.
int runProgram(QApplication& app, const CommandLine& options);

}  // namespace kvr
