#pragma once
// Whether the window has somewhere to appear, asked before Qt starts: Qt itself aborts when no
// display is reachable, as over ssh or on a headless machine.
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kvr {

// One line for the user when no display is reachable, naming what is missing and how to run the
// program without one; empty when Qt can start. `args` are the program's arguments, where Qt's
// own -platform and -display may stand.
std::optional<std::string> missingDisplay(std::span<const std::string> args);

// The arguments without the options that Qt takes for itself (-platform NAME, -display NAME,
// -style NAME, -reverse and the like), so that ours can be checked before Qt starts.
std::vector<std::string> withoutQtOptions(std::span<const std::string> args);

}  // namespace kvr
