#pragma once
// Decodes a PNG picture held in memory (the skin's built-in pictures).
#include <span>

#include "gui/images/rgba_image.h"

namespace kvr {

// Any PNG colour type and bit depth becomes 8-bit RGBA; pictures without alpha come out opaque.
// Damaged, truncated or oversized data gives an error, never a read past the span.
DecodeResult<RgbaImage> decodePng(std::span<const unsigned char> data);

}  // namespace kvr
