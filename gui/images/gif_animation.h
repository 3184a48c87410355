#pragma once
// Decodes an animated GIF held in memory (the busy window's animation).
#include <span>
#include <vector>

#include "gui/images/rgba_image.h"

namespace kvr {

struct GifFrame {
    RgbaImage image;  // the whole canvas as it looks while this frame is shown
    int delayMs = 0;  // as stored; 0 when the file gives no delay
};

struct GifAnimation {
    int width = 0;
    int height = 0;
    std::vector<GifFrame> frames;
    bool loops = false;  // the file asks to be repeated
    int loopCount = 0;   // repetitions the file asks for; 0 with loops set means for ever
};

// Every frame is composed onto the canvas with the previous frames' disposal applied; pixels
// that no frame has painted, and pixels cleared by disposal, are transparent black.
// Damaged or truncated data gives an error, never a read past the span.
DecodeResult<GifAnimation> decodeGif(std::span<const unsigned char> data);

}  // namespace kvr
