#include "cycle/file_checks.h"

#include <cstdio>
#include <string>

#include "cycle/read_write_cycle.h"
#include "device/device_link.h"
#include "device/emulated_mouse.h"
#include "macros/macro_checks.h"
#include "params/checksum.h"

namespace kvr {

namespace {

std::string hex2(unsigned value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", value & 0xFFU);
    return text;
}

Refusal macroAreaAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return macroAreaRefusal(bytes.subspan(offset).first<kDeviceMacroAreaSize>());
}

}  // namespace

MouseKind MouseKind::of(const ReadWriteCycle& cycle) {
    return MouseKind{paramLayout(cycle.deviceVariant()), cycle.macroSupport(),
                     [&cycle](std::uint8_t manufacturerId, std::uint8_t productId) {
                         return cycle.identityPasses(manufacturerId, productId);
                     }};
}

Refusal paramBlockRefusal(std::span<const std::uint8_t> param, const MouseKind& kind) {
    const ParamLayout& layout = *kind.layout;
    if (blockChecksum(param.first(layout.checksum)) != param[layout.checksum])
        return FileRefusal{"Str121", {}};
    const auto tail = param.subspan(layout.tail, param_tail::kLength);
    if (tail[param_tail::kCurrentDpiLevel] + tail[param_tail::kCurrentDpiLevelInv] !=
            param_tail::kPairSum ||
        tail[param_tail::kLedMode] + tail[param_tail::kLedModeInv] != param_tail::kPairSum) {
        return FileRefusal{"Str123", {}};
    }
    const std::uint8_t manufacturer = tail[param_tail::kManufacturerId];
    const std::uint8_t product = tail[param_tail::kProductId];
    if (!kind.identityPasses || !kind.identityPasses(manufacturer, product))
        return FileRefusal{"Str124", hex2(manufacturer) + " " + hex2(product)};
    if (layout.usbVendorId && layout.usbProductId) {
        const unsigned vendor = param[*layout.usbVendorId] | param[*layout.usbVendorId + 1] << 8;
        const unsigned usbProduct =
            param[*layout.usbProductId] | param[*layout.usbProductId + 1] << 8;
        if (vendor != kMouseVendorId || usbProduct != kMouseProductId)
            return FileRefusal{"Str125", {}};
    }
    const std::uint8_t capability = tail[param_tail::kMacroCapability];
    if ((capability == kMacroCapabilityPresent) != kind.macroSupport)
        return FileRefusal{"Str126", hex2(capability)};
    return std::nullopt;
}

Refusal profileBlockRefusal(std::span<const std::uint8_t> profile) {
    if (blockChecksum(profile.first(profile_block::kChecksum)) != profile[profile_block::kChecksum])
        return FileRefusal{"Str122", {}};
    return std::nullopt;
}

Refusal profileFileRefusal(std::span<const std::uint8_t> file, const MouseKind& kind) {
    if (!kind.layout) return FileRefusal{"Str020", {}};
    const std::size_t plain = kind.layout->blockSize + profile_block::kSize;
    if (file.size() != plain && file.size() != plain + kDeviceMacroAreaSize)
        return FileRefusal{"Str120", std::to_string(file.size())};
    if (auto refusal = paramBlockRefusal(file.first(kind.layout->blockSize), kind)) return refusal;
    if (auto refusal = profileBlockRefusal(file.subspan(kind.layout->blockSize, profile_block::kSize)))
        return refusal;
    // The capability agrees with the mouse; the size must agree with both.
    if ((file.size() == plain + kDeviceMacroAreaSize) != kind.macroSupport) {
        const std::uint8_t capability =
            file[kind.layout->tail + param_tail::kMacroCapability];
        return FileRefusal{"Str126", hex2(capability)};
    }
    if (kind.macroSupport) return macroAreaAt(file, plain);
    return std::nullopt;
}

Refusal memoryImageRefusal(std::span<const std::uint8_t> image, const MouseKind& kind) {
    if (image.size() != kMouseMemorySize) return FileRefusal{"Str132", std::to_string(image.size())};
    if (!kind.layout) return FileRefusal{"Str020", {}};
    if (auto refusal = paramBlockRefusal(image.subspan(kMemoryParamAddress, kind.layout->blockSize),
                                         kind))
        return refusal;
    if (auto refusal =
            profileBlockRefusal(image.subspan(kMemoryProfileAddress, profile_block::kSize)))
        return refusal;
    if (kind.macroSupport) return macroAreaAt(image, kMemoryMacroAddress);
    return std::nullopt;
}

}  // namespace kvr
