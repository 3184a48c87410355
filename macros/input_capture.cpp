#include "macros/input_capture.h"

namespace kvr {

bool InjectedCapture::start(InputCaptureSink& sink) {
    if (!failure_.empty()) return false;
    sink_ = &sink;
    return true;
}

void InjectedCapture::keyDown(std::uint16_t virtualKey) {
    if (sink_) sink_->keyChanged(virtualKey, true);
}

void InjectedCapture::keyUp(std::uint16_t virtualKey) {
    if (sink_) sink_->keyChanged(virtualKey, false);
}

void InjectedCapture::buttonDown(MouseButton button) {
    if (sink_) sink_->mouseButtonChanged(button, true);
}

void InjectedCapture::buttonUp(MouseButton button) {
    if (sink_) sink_->mouseButtonChanged(button, false);
}

}  // namespace kvr
