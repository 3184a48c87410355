#pragma once
// Whether the window has somewhere to appear, asked before Qt starts: Qt itself aborts when no
// display is reachable, as over ssh or on a headless machine.
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kvr {

struct DisplayCheck {
    // One line for the user when no display is reachable, naming what is missing and how to run
    // the program without one; empty when Qt can start.
    std::optional<std::string> problem;
    // The check's own connection, to be held until Qt has opened its own: an X server that loses
    // its last client resets itself, and Qt's connection would wait the reset out.
    std::shared_ptr<void> connection;
};

// `args` are the program's arguments, where Qt's own -platform and -display may stand.
DisplayCheck checkDisplay(std::span<const std::string> args);

// The arguments without the options that Qt takes for itself (-platform NAME, -display NAME,
// -style NAME, -reverse and the like), so that ours can be checked before Qt starts.
std::vector<std::string> withoutQtOptions(std::span<const std::string> args);

}  // namespace kvr
