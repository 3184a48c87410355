#pragma once
// Milliseconds for measuring the pauses of a recording. The program reads a monotonic clock; tests
// set the time by hand, so a recorded pause never needs a real wait.
#include <atomic>
#include <chrono>
#include <cstdint>

namespace kvr {

class TickClock {
public:
    virtual ~TickClock() = default;
    // Milliseconds since an arbitrary start; never goes back. Safe from any thread.
    virtual std::uint64_t nowMs() const = 0;
};

class SteadyTickClock final : public TickClock {
public:
    std::uint64_t nowMs() const override {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }
};

class VirtualTickClock final : public TickClock {
public:
    std::uint64_t nowMs() const override { return now_.load(); }
    void advance(std::uint64_t ms) { now_ += ms; }

private:
    std::atomic<std::uint64_t> now_{1000};
};

}  // namespace kvr
