// The PNG decoder on any bytes: a picture or an error, and a picture is whole.
#include <cstdint>
#include <span>

#include "gui/images/png_image.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto image = kvr::decodePng(std::span(data, size));
    if (image && image->pixels.size() != std::size_t(image->width) * image->height * 4) {
        kvr::fuzz::broken("a decoded picture is not width x height pixels");
    }
    return 0;
}
