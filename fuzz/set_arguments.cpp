// The words after `set`, one a line, read and then applied to an open mouse.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "cli/setting_changes.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvr;
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            words.emplace_back();
        } else {
            words.back().push_back(char(data[i]));
        }
    }
    const SettingChanges changes = parseSettingChanges(words);
    const auto* read = std::get_if<std::vector<SettingChange>>(&changes);
    if (!read) {
        if (std::get<ArgumentError>(changes).message.empty()) {
            fuzz::broken("a refused argument has no message");
        }
        return 0;
    }
    fuzz::EmulatedSession mouse;
    (void)applySettingChanges(*read, *mouse.session);
    return 0;
}
