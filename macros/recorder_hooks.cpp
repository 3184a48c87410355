#include "macros/recorder_hooks.h"

#include <utility>

namespace kvr {

void RecorderQueue::push(const RecorderInput& input) {
    std::function<void()> wake;
    {
        std::lock_guard lock(mutex_);
        if (inputs_.empty()) wake = wakeUp_;
        inputs_.push_back(input);
    }
    queued_.notify_all();
    if (wake) wake();
}

std::deque<RecorderInput> RecorderQueue::takeAll() {
    std::lock_guard lock(mutex_);
    return std::exchange(inputs_, {});
}

bool RecorderQueue::waitForInput(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return queued_.wait_for(lock, timeout, [&] { return !inputs_.empty(); });
}

void RecorderQueue::setWakeUp(std::function<void()> wakeUp) {
    std::lock_guard lock(mutex_);
    wakeUp_ = std::move(wakeUp);
}

void KeyboardHook::keyChanged(std::uint16_t virtualKey, bool down) {
    if (down) {
        ++pressCount_;
    } else {
        pressCount_ = 0;
    }
    if (!Enabled || !OnReceive) return;
    const KeyPressType type = pressCount_ == 0   ? KeyPressType::Release
                              : pressCount_ == 1 ? KeyPressType::FirstPress
                                                 : KeyPressType::FurtherPress;
    OnReceive(virtualKey, pressCount_, type);
}

void MouseHook::setIgnoredAreas(std::vector<ScreenRect> areas) {
    std::lock_guard lock(areasMutex_);
    ignoredAreas_ = std::move(areas);
}

bool MouseHook::overIgnoredArea(std::optional<ScreenPoint> at) {
    {
        std::lock_guard lock(areasMutex_);
        if (at && !ignoredAreas_.empty()) {
            for (const ScreenRect& area : ignoredAreas_)
                if (area.contains(*at)) return true;
            return false;
        }
    }
    return IgnoreLeftClicks;
}

void MouseHook::buttonChanged(MouseButton button, bool down, std::optional<ScreenPoint> at) {
    if (!installed_ || !Recording) return;
    if (button == MouseButton::Left && overIgnoredArea(at)) return;
    flags_[static_cast<std::size_t>(flagOf(button, down))] = clock_.nowMs() + 1;
    if (raised_) raised_();
}

bool MouseHook::anyRaised() const {
    for (const auto& flag : flags_)
        if (flag.load() != 0) return true;
    return false;
}

void RecorderWorker::start() {
    if (worker_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = false;
        pending_ = hook_.anyRaised();
    }
    worker_ = std::thread([this] { run(); });
}

void RecorderWorker::stop() {
    if (!worker_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void RecorderWorker::wake() {
    {
        std::lock_guard lock(mutex_);
        pending_ = true;
    }
    wake_.notify_all();
}

bool RecorderWorker::waitIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, timeout, [&] { return !busy_ && !pending_ && !hook_.anyRaised(); });
}

void RecorderWorker::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        // Blocks while idle: no pass runs unless a flag was raised or the recording ends.
        wake_.wait(lock, [&] { return pending_ || stopRequested_; });
        const bool last = stopRequested_;
        pending_ = false;
        busy_ = true;
        lock.unlock();
        pass();
        lock.lock();
        busy_ = false;
        idle_.notify_all();
        if (last) return;
    }
}

void RecorderWorker::pass() {
    for (int flag = 0; flag < MouseHook::kFlagCount; ++flag) {
        const std::uint64_t raisedAt = hook_.takeFlag(flag);
        if (raisedAt == 0) continue;
        RecorderInput input;
        input.kind = RecorderInput::Kind::MouseFlag;
        input.flag = flag;
        input.tick = raisedAt - 1;
        queue_.push(input);
    }
}

}  // namespace kvr
