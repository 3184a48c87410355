#pragma once
// Decodes a PNG picture held in memory (the skin's built-in pictures).
#include <optional>
#include <span>

#include "gui/images/rgba_image.h"

namespace kvr {

// The order of a decoded pixel's bytes. Bgra is a 32-bit 0xAARRGGBB word on a little-endian
// machine: the form a window's pixmaps keep, so such a picture needs no conversion there. Rgb is
// three bytes a pixel without alpha, a quarter smaller, for pictures that have none.
enum class PixelOrder { Rgba, Bgra, Rgb };

// Any PNG colour type and bit depth becomes 8 bits a channel, in `order`: with alpha, opaque for
// pictures without it, except in Rgb, which drops alpha. Damaged, truncated or oversized data
// gives an error, never a read past the span.
DecodeResult<RgbaImage> decodePng(std::span<const unsigned char> data,
                                  PixelOrder order = PixelOrder::Rgba);

// Whether the picture states any transparency: an alpha channel or a transparent colour. A
// damaged header counts as yes, the form that keeps every pixel.
bool pngHasAlpha(std::span<const unsigned char> data);

// The width and height a PNG header states; empty for a size no picture of the skin can have.
struct PngSize {
    int width = 0;
    int height = 0;
};
std::optional<PngSize> pngSizeOf(unsigned width, unsigned height);

}  // namespace kvr
