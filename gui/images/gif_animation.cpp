#include "gui/images/gif_animation.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace kvr {

namespace {

// The busy animation is 200 x 192; limits far above it keep damaged sizes from eating memory.
constexpr int kMaxSide = 4096;
constexpr std::size_t kMaxTotalBytes = std::size_t(256) << 20;

struct SpanReader {
    std::span<const unsigned char> data;
    std::size_t offset = 0;
};

// giflib treats a short read as the end of the data and reports it as an error.
int readFromSpan(GifFileType* gif, GifByteType* out, int length) {
    auto* r = static_cast<SpanReader*>(gif->UserData);
    if (length <= 0) return 0;
    const std::size_t n = std::min(std::size_t(length), r->data.size() - r->offset);
    std::memcpy(out, r->data.data() + r->offset, n);
    r->offset += n;
    return int(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int ignored = 0;  // nothing useful can be done about a failed close of a memory reader
        DGifCloseFile(gif, &ignored);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

std::string gifMessage(int code) {
    const char* text = GifErrorString(code);
    return std::string("damaged GIF animation: ") + (text ? text : "unknown error");
}

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

// What the graphics control block before an image says about that image.
struct FrameControl {
    int disposal = DISPOSAL_UNSPECIFIED;
    int delayMs = 0;
    int transparentIndex = NO_TRANSPARENT_COLOR;
};

// Builds the frames the viewer sees: each image drawn over the canvas that the previous
// image's disposal left behind.
class Composer {
public:
    Composer(int width, int height) : canvas_{width, height, {}} {
        canvas_.pixels.assign(std::size_t(width) * height * 4, 0);
    }

    std::uint8_t* pixel(int x, int y) {
        return canvas_.pixels.data() + (std::size_t(y) * canvas_.width + x) * 4;
    }
    int width() const { return canvas_.width; }
    int height() const { return canvas_.height; }

    void beginFrame(const Rect& area, const FrameControl& control) {
        if (pendingDisposal_ == DISPOSE_BACKGROUND) {
            for (int y = pendingArea_.top; y < pendingArea_.bottom; ++y)
                std::memset(pixel(pendingArea_.left, y), 0,
                            std::size_t(pendingArea_.right - pendingArea_.left) * 4);
        } else if (pendingDisposal_ == DISPOSE_PREVIOUS) {
            canvas_.pixels = saved_;
        }
        if (control.disposal == DISPOSE_PREVIOUS) saved_ = canvas_.pixels;
        pendingDisposal_ = control.disposal;
        pendingArea_ = area;
    }

    GifFrame snapshot(int delayMs) const { return GifFrame{canvas_, delayMs}; }

private:
    RgbaImage canvas_;
    std::vector<std::uint8_t> saved_;
    int pendingDisposal_ = DISPOSAL_UNSPECIFIED;
    Rect pendingArea_;
};

// Row numbers of an interlaced image in the order they are stored.
std::vector<int> storedRowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(std::size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
    return order;
}

// Reads the image whose descriptor was just read and paints it onto the canvas.
bool readImage(GifFileType* gif, Composer& composer, const FrameControl& control) {
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* colours = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!colours || desc.Width <= 0 || desc.Height <= 0 || desc.Width > kMaxSide ||
        desc.Height > kMaxSide) {
        return false;
    }
    // Images may reach past the canvas; only the part inside it is shown.
    const Rect area{std::min(desc.Left, composer.width()), std::min(desc.Top, composer.height()),
                    std::min(desc.Left + desc.Width, composer.width()),
                    std::min(desc.Top + desc.Height, composer.height())};
    composer.beginFrame(area, control);

    std::vector<GifPixelType> line(std::size_t(desc.Width));
    for (int row : storedRowOrder(desc.Height, desc.Interlace)) {
        if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) return false;
        const int y = desc.Top + row;
        if (y >= composer.height()) continue;
        for (int x = 0; x < desc.Width && desc.Left + x < composer.width(); ++x) {
            const int index = line[std::size_t(x)];
            if (index == control.transparentIndex || index >= colours->ColorCount) continue;
            const GifColorType& c = colours->Colors[index];
            std::uint8_t* p = composer.pixel(desc.Left + x, y);
            p[0] = c.Red;
            p[1] = c.Green;
            p[2] = c.Blue;
            p[3] = 0xFF;
        }
    }
    return true;
}

bool isLoopExtension(const GifByteType* block) {
    return block[0] == 11 && (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 ||
                              std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0);
}

}  // namespace

DecodeResult<GifAnimation> decodeGif(std::span<const unsigned char> data) {
    using Result = DecodeResult<GifAnimation>;
    try {
        SpanReader reader{data, 0};
        int error = 0;
        GifHandle gif(DGifOpen(&reader, readFromSpan, &error));
        if (!gif) return Result::failure(gifMessage(error));
        if (gif->SWidth <= 0 || gif->SHeight <= 0 || gif->SWidth > kMaxSide ||
            gif->SHeight > kMaxSide) {
            return Result::failure("damaged GIF animation: bad canvas size");
        }

        GifAnimation animation;
        animation.width = gif->SWidth;
        animation.height = gif->SHeight;
        const std::size_t frameBytes = std::size_t(animation.width) * animation.height * 4;
        Composer composer(animation.width, animation.height);
        FrameControl control;

        GifRecordType record = UNDEFINED_RECORD_TYPE;
        do {
            if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
                return Result::failure(gifMessage(gif->Error));
            if (record == IMAGE_DESC_RECORD_TYPE) {
                if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
                    return Result::failure(gifMessage(gif->Error));
                if (frameBytes * (animation.frames.size() + 1) > kMaxTotalBytes)
                    return Result::failure("damaged GIF animation: too many frames");
                if (!readImage(gif.get(), composer, control))
                    return Result::failure(gif->Error ? gifMessage(gif->Error)
                                                      : "damaged GIF animation: bad image");
                animation.frames.push_back(composer.snapshot(control.delayMs));
                control = FrameControl{};  // a control block applies to one image only
            } else if (record == EXTENSION_RECORD_TYPE) {
                int code = 0;
                GifByteType* block = nullptr;
                if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                    return Result::failure(gifMessage(gif->Error));
                bool loopBlockNext = false;
                for (bool first = true; block != nullptr; first = false) {
                    if (code == GRAPHICS_EXT_FUNC_CODE && first) {
                        GraphicsControlBlock gcb;
                        // A malformed control block is ignored, as viewers do.
                        if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
                            control.disposal = gcb.DisposalMode;
                            control.delayMs = gcb.DelayTime * 10;
                            control.transparentIndex = gcb.TransparentColor;
                        }
                    } else if (code == APPLICATION_EXT_FUNC_CODE && first) {
                        loopBlockNext = isLoopExtension(block);
                    } else if (loopBlockNext && block[0] >= 3 && block[1] == 1) {
                        animation.loops = true;
                        animation.loopCount = block[2] | (block[3] << 8);
                        loopBlockNext = false;
                    }
                    if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                        return Result::failure(gifMessage(gif->Error));
                }
            }
        } while (record != TERMINATE_RECORD_TYPE);

        if (animation.frames.empty()) return Result::failure("damaged GIF animation: no frames");
        return animation;
    } catch (const std::bad_alloc&) {
        return Result::failure("out of memory");
    }
}

}  // namespace kvr
