#include "gui/images/png_image.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

namespace kvr {

namespace {

// The skin's largest picture is 800 pixels wide; anything far larger is damage, not a picture.
constexpr png_uint_32 kMaxSide = 8192;
constexpr std::size_t kMaxPixelBytes = std::size_t(64) << 20;
constexpr std::size_t kSignatureSize = 8;

struct SpanReader {
    std::span<const unsigned char> data;
    std::size_t offset = 0;
};

// Everything libpng touches lives here, in the caller's frame, so that a longjmp out of the
// decoding frame leaves nothing half-destroyed.
struct PngDecoder {
    png_structp png = nullptr;
    png_infop info = nullptr;
    SpanReader reader;
    PixelOrder order = PixelOrder::Rgba;
    char message[160] = {};
    RgbaImage image;
    std::vector<png_bytep> rows;

    PngDecoder() = default;
    PngDecoder(const PngDecoder&) = delete;
    PngDecoder& operator=(const PngDecoder&) = delete;
    ~PngDecoder() { png_destroy_read_struct(&png, &info, nullptr); }
};

void readFromSpan(png_structp png, png_bytep out, std::size_t length) {
    auto* r = static_cast<SpanReader*>(png_get_io_ptr(png));
    if (length > r->data.size() - r->offset) png_error(png, "the picture data ends early");
    std::memcpy(out, r->data.data() + r->offset, length);
    r->offset += length;
}

[[noreturn]] void keepErrorAndJump(png_structp png, png_const_charp message) {
    auto* d = static_cast<PngDecoder*>(png_get_error_ptr(png));
    std::snprintf(d->message, sizeof d->message, "%s", message ? message : "damaged picture");
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Runs libpng over the data. Returns false when libpng reported an error. No object with a
// destructor is created in this frame, because libpng leaves it by longjmp.
bool runLibpng(PngDecoder& d) {
    if (setjmp(png_jmpbuf(d.png))) return false;

    png_set_read_fn(d.png, &d.reader, readFromSpan);
    png_set_user_limits(d.png, kMaxSide, kMaxSide);
    png_read_info(d.png, d.info);

    png_set_expand(d.png);  // palette and small greys to 8 bits, tRNS to alpha
    png_set_strip_16(d.png);
    png_set_gray_to_rgb(d.png);
    if (d.order == PixelOrder::Bgra) png_set_bgr(d.png);
    if (d.order == PixelOrder::Rgb) {
        png_set_strip_alpha(d.png);
    } else {
        png_set_filler(d.png, 0xFF, PNG_FILLER_AFTER);  // opaque alpha where the picture has none
    }
    png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);

    const png_uint_32 width = png_get_image_width(d.png, d.info);
    const png_uint_32 height = png_get_image_height(d.png, d.info);
    const std::size_t rowBytes = png_get_rowbytes(d.png, d.info);
    const std::size_t pixelBytes = d.order == PixelOrder::Rgb ? 3 : 4;
    if (rowBytes != std::size_t(width) * pixelBytes) png_error(d.png, "unexpected pixel layout");
    if (rowBytes * height > kMaxPixelBytes) png_error(d.png, "the picture is too large");

    d.image.width = int(width);
    d.image.height = int(height);
    d.image.pixels.resize(rowBytes * height);
    d.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) d.rows[y] = d.image.pixels.data() + rowBytes * y;
    png_read_image(d.png, d.rows.data());
    // Reading to the end chunk catches a picture cut short after its pixel data.
    png_read_end(d.png, nullptr);
    return true;
}

// The header chunks only, up to the pixel data. False when libpng reported an error.
bool readPngInfo(PngDecoder& d) {
    if (setjmp(png_jmpbuf(d.png))) return false;
    png_set_read_fn(d.png, &d.reader, readFromSpan);
    png_set_user_limits(d.png, kMaxSide, kMaxSide);
    png_read_info(d.png, d.info);
    return true;
}

// libpng's structures for `d`; false when there is no memory for them.
bool createReader(PngDecoder& d) {
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &d, keepErrorAndJump, ignoreWarning);
    if (!d.png) return false;
    d.info = png_create_info_struct(d.png);
    return d.info != nullptr;
}

}  // namespace

DecodeResult<RgbaImage> decodePng(std::span<const unsigned char> data, PixelOrder order) {
    using Result = DecodeResult<RgbaImage>;
    if (data.size() < kSignatureSize || png_sig_cmp(data.data(), 0, kSignatureSize) != 0) {
        return Result::failure("not a PNG picture");
    }
    try {
        PngDecoder d;
        d.reader.data = data;
        d.order = order;
        if (!createReader(d)) return Result::failure("out of memory");
        if (!runLibpng(d)) return Result::failure(std::string("damaged PNG picture: ") + d.message);
        return std::move(d.image);
    } catch (const std::bad_alloc&) {
        return Result::failure("out of memory");
    }
}

bool pngHasAlpha(std::span<const unsigned char> data) {
    if (data.size() < kSignatureSize || png_sig_cmp(data.data(), 0, kSignatureSize) != 0) return true;
    try {
        PngDecoder d;
        d.reader.data = data;
        if (!createReader(d) || !readPngInfo(d)) return true;
        return (png_get_color_type(d.png, d.info) & PNG_COLOR_MASK_ALPHA) != 0 ||
               png_get_valid(d.png, d.info, PNG_INFO_tRNS) != 0;
    } catch (const std::bad_alloc&) {
        return true;
    }
}

std::optional<PngSize> pngSizeOf(unsigned width, unsigned height) {
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;
    return PngSize{int(width), int(height)};
}

}  // namespace kvr
