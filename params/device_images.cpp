#include "params/device_images.h"

#include <algorithm>

#include "base/resources.h"

namespace kvr {

namespace {

constexpr std::uint16_t kUsbVendorId = 0x1BCF;
constexpr std::uint16_t kUsbProductId = 0x08A0;

std::uint16_t readLowFirst(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

std::span<std::uint8_t> DeviceImages::param(const ParamLayout& layout) {
    if (layout.variant == 1) return paramV1.used();
    return paramV2.used();
}

std::span<const std::uint8_t> DeviceImages::param(const ParamLayout& layout) const {
    if (layout.variant == 1) return paramV1.used();
    return paramV2.used();
}

std::span<const std::uint8_t> DefaultImages::param(const ParamLayout& layout) const {
    if (layout.variant == 1) return paramV1;
    return paramV2;
}

std::optional<ImageHeader> readImageHeader(std::span<const std::uint8_t> image) {
    if (image.size() < kImageHeaderSize) return std::nullopt;
    const bool variant1 = readLowFirst(image, *kParamLayoutV1.usbVendorId) == kUsbVendorId &&
                          readLowFirst(image, *kParamLayoutV1.usbProductId) == kUsbProductId;
    const ParamLayout& layout = variant1 ? kParamLayoutV1 : kParamLayoutV2;
    return ImageHeader{
        .imageVariant = layout.variant,
        .macroCapability = image[layout.tail + param_tail::kMacroCapability],
        .manufacturerId = image[layout.tail + param_tail::kManufacturerId],
        .productId = image[layout.tail + param_tail::kProductId],
    };
}

bool loadDefaultImages(std::span<const std::uint8_t> image, int imageVariant, DefaultImages& out) {
    const ParamLayout* layout = paramLayout(imageVariant);
    if (!layout) return false;
    const std::size_t profileAt = layout->blockSize;
    const std::size_t macroAt = profileAt + profile_block::kSize;
    if (image.size() < macroAt + kMacroAreaSize) return false;

    auto param = layout->variant == 1 ? std::span<std::uint8_t>(out.paramV1)
                                      : std::span<std::uint8_t>(out.paramV2);
    std::ranges::copy(image.first(layout->blockSize), param.begin());
    std::ranges::copy(image.subspan(profileAt, profile_block::kSize), out.profile.begin());
    std::ranges::copy(image.subspan(macroAt, kMacroAreaSize), out.macroArea.begin());
    return true;
}

std::optional<BuiltInDefaults> loadDefaults(std::span<const std::uint8_t> image) {
    const std::optional<ImageHeader> header = readImageHeader(image);
    if (!header) return std::nullopt;
    BuiltInDefaults defaults{.header = *header, .images = {}};
    if (!loadDefaultImages(image, header->imageVariant, defaults.images)) return std::nullopt;
    return defaults;
}

std::optional<BuiltInDefaults> loadBuiltInDefaults() {
    const auto resource = findResource(kDefaultImageResource);
    if (!resource) return std::nullopt;
    return loadDefaults(*resource);
}

void copyImagesToDataBuf(const DeviceImages& images, int variant, DataBuf& data) {
    if (const ParamLayout* layout = paramLayout(variant)) {
        const auto param = images.param(*layout);
        std::ranges::copy(param.first(layout->checksum + 1),
                          data.begin() + static_cast<std::ptrdiff_t>(layout->dataBufStart));
        std::ranges::copy(param.subspan(layout->tail, param_tail::kLength),
                          data.begin() + databuf::kParamBStart);
    }
    std::ranges::copy(images.profile.used(), data.begin() + databuf::kProfileStart);
}

void copyDataBufToImages(const DataBuf& data, int variant, DeviceImages& images) {
    const std::span<const std::uint8_t> source(data);
    if (const ParamLayout* layout = paramLayout(variant)) {
        const auto param = images.param(*layout);
        std::ranges::copy(source.subspan(layout->dataBufStart, layout->checksum + 1),
                          param.begin());
        std::ranges::copy(source.subspan(databuf::kParamBStart, param_tail::kLength),
                          param.begin() + static_cast<std::ptrdiff_t>(layout->tail));
    }
    std::ranges::copy(source.subspan(databuf::kProfileStart, databuf::kProfileLength),
                      images.profile.used().begin());
}

}  // namespace kvr
