#include "gui/font_warmup.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace kvr {

std::future<void> warmFontConfiguration() {
    try {
        // Qt asks for the same configuration later and finds it loaded.
        return std::async(std::launch::async, [] { FcInit(); });
    } catch (const std::system_error&) {
        return {};
    }
}

}  // namespace kvr
