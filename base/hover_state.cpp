#include "base/hover_state.h"

namespace kvr {

namespace {
// Captions carry accented letters: rotate whole UTF-8 characters, never half of one.
size_t firstCharacterLength(const std::string& s) {
    if (s.empty()) return 0;
    const auto lead = static_cast<unsigned char>(s[0]);
    size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return n <= s.size() ? n : s.size();
}
}  // namespace

void HoverState::begin(std::string name, std::string caption) {
    labelName = std::move(name);
    savedCaption = caption;
    runningCaption = std::move(caption);
    ticks = 0;
}

const std::string& HoverState::tick() {
    ++ticks;
    if (ticks > 20) ticks = 2;
    const size_t n = firstCharacterLength(runningCaption);
    const std::string first = runningCaption.substr(0, n);
    const std::string rest = runningCaption.substr(n);
    runningCaption = ticks == 1 ? rest + "    " + first : rest + first;
    return runningCaption;
}

}  // namespace kvr
