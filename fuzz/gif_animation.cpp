// The GIF decoder on any bytes: an animation or an error, and every frame is the whole canvas.
#include <cstdint>
#include <span>

#include "gui/images/gif_animation.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A canvas may be up to 4096 pixels a side, 64 MB a frame; such inputs take the fuzzer a
    // third of a second each and teach it nothing the small ones do not.
    if (size >= 10) {
        const long width = data[6] | data[7] << 8;
        const long height = data[8] | data[9] << 8;
        if (width * height > 512 * 512) return 0;
    }
    const auto animation = kvr::decodeGif(std::span(data, size));
    if (!animation) return 0;
    for (const kvr::GifFrame& frame : animation->frames) {
        if (frame.image.width != animation->width || frame.image.height != animation->height ||
            frame.image.pixels.size() != std::size_t(frame.image.width) * frame.image.height * 4) {
            kvr::fuzz::broken("a frame is not the whole canvas");
        }
    }
    return 0;
}
