#include "macros/input_capture.h"
#include "macros/native_keys.h"

namespace kvr {

std::unique_ptr<InputCapture> makeInputCapture() {
    return std::make_unique<UnavailableCapture>(kCaptureUnavailableText);
}

}  // namespace kvr

namespace kvr {

// Nothing is known of this desktop's native key names.
std::uint16_t nativeKeyToVirtualKey(std::uint32_t) { return 0; }

}  // namespace kvr
