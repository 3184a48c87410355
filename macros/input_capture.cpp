#include "macros/input_capture.h"

namespace kvr {

bool DeferredCapture::start(InputCaptureSink& sink) {
    if (!chosen_ || !worked_) chosen_ = make_();
    worked_ = chosen_->start(sink);
    return worked_;
}

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

void InjectedCapture::buttonDown(MouseButton button, std::optional<ScreenPoint> at) {
    if (sink_) sink_->mouseButtonChanged(button, true, at);
}

void InjectedCapture::buttonUp(MouseButton button, std::optional<ScreenPoint> at) {
    if (sink_) sink_->mouseButtonChanged(button, false, at);
}

}  // namespace kvr
