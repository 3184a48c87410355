#pragma once
// Every fixed wait of the program goes through a Pacer: in the program a wait keeps the window's
// events flowing; in tests time is virtual, instant and recorded.
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace kvr {

class Pacer {
public:
    virtual ~Pacer() = default;
    // Waits about `duration` while the window keeps handling its events.
    virtual void wait(std::chrono::milliseconds duration) = 0;
    // Handles the window's pending events, then returns.
    virtual void pump() = 0;
};

// Real waits without an event loop (benchmarks, command-line use).
class SleepPacer final : public Pacer {
public:
    void wait(std::chrono::milliseconds duration) override;
    void pump() override {}
};

// Virtual time for tests: waits return at once and advance the clock.
class VirtualPacer final : public Pacer {
public:
    void wait(std::chrono::milliseconds duration) override;
    void pump() override;

    std::chrono::milliseconds now() const { return now_; }
    const std::vector<std::chrono::milliseconds>& waits() const { return waits_; }
    int pumps() const { return pumps_; }
    void clearRecord() {
        waits_.clear();
        pumps_ = 0;
    }
    // Runs on every pump and after every wait, to let a test act "during" a transfer.
    std::function<void()> onPump;

private:
    std::chrono::milliseconds now_{0};
    std::vector<std::chrono::milliseconds> waits_;
    int pumps_ = 0;
};

}  // namespace kvr
