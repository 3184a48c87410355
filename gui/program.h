#pragma once
#include "base/command_line.h"

class QApplication;

namespace kvr {

inline constexpr const char* kProgramVersion = "1.0";
// The main window's title; a second start finds the running program by it.
inline constexpr const char* kMainWindowTitle = "KVR5507 Gaming Mouse v1.0";
inline constexpr const char* kApplicationTitle = "KVR5507 Gaming Mouse";

// Single-instance check, the two windows, and the event loop.
int runProgram(QApplication& app, const CommandLine& options);

}  // namespace kvr
