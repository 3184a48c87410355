#include "device/pacer.h"

#include <thread>

namespace kvr {

namespace {

// The scheduler may wake a sleeper this much late; the last stretch of a wait spins instead, so
// the handshake's many 5 ms waits do not add up to a visibly slower transfer.
constexpr std::chrono::microseconds kSpinStretch{200};

}  // namespace

void SleepPacer::wait(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    if (duration > kSpinStretch) std::this_thread::sleep_until(deadline - kSpinStretch);
    while (std::chrono::steady_clock::now() < deadline) {
    }
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
