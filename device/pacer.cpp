#include "device/pacer.h"

#include <thread>

namespace kvr {

void SleepPacer::wait(std::chrono::milliseconds duration) {
    // sleep_until against a steady deadline keeps long runs of short waits from drifting.
    std::this_thread::sleep_until(std::chrono::steady_clock::now() + duration);
}

void VirtualPacer::wait(std::chrono::milliseconds duration) {
    now_ += duration;
    waits_.push_back(duration);
    if (onPump) onPump();
}

void VirtualPacer::pump() {
    ++pumps_;
    if (onPump) onPump();
}

}  // namespace kvr
