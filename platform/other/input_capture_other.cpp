#include "macros/input_capture.h"

namespace kvr {

std::unique_ptr<InputCapture> makeInputCapture() {
    return std::make_unique<UnavailableCapture>(kCaptureUnavailableText);
}

}  // namespace kvr
