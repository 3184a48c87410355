#pragma once
// The program's Pacer: a wait runs a nested event loop, so the window keeps painting and the busy
// animation keeps turning while the mouse is being talked to.
#include "device/pacer.h"

namespace kvr {

class EventLoopPacer final : public Pacer {
public:
    void wait(std::chrono::milliseconds duration) override;
    void pump() override;
};

}  // namespace kvr
