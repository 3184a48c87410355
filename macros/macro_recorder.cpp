#include "macros/macro_recorder.h"

#include <algorithm>

namespace kvr {

namespace {

constexpr int kNoDelayLimit = 248;
constexpr int kDelayLimit = 244;
constexpr int kKeyLineCost = 2;
constexpr int kButtonLineCost = 1;
constexpr auto kWorkerWait = std::chrono::seconds(5);

int recordLimitFor(const RecordDelay& delay) {
    return delay.mode == RecordDelayMode::None ? kNoDelayLimit : kDelayLimit;
}

// Bytes of the delay lines a mouse event gets: one line per whole 2040 ms, then the rest.
int splitDelayCost(int milliseconds) {
    const int whole = milliseconds / kDelayPairMs;
    return whole * delayByteCost(kDelayPairMs) + (milliseconds % kDelayPairMs > 0 ? 2 : 0);
}

}  // namespace

MacroLine recordingHeader(const RecordDelay& delay) {
    switch (delay.mode) {
        case RecordDelayMode::Recorded:
            return "10";
        case RecordDelayMode::Fixed:
            return "01" + std::to_string(delay.fixedMs);
        case RecordDelayMode::None:
            break;
    }
    return "00";
}

void MacroRecorder::Sink::keyChanged(std::uint16_t virtualKey, bool down) {
    recorder_.keyboardHook_.keyChanged(virtualKey, down);
}

void MacroRecorder::Sink::mouseButtonChanged(MouseButton button, bool down,
                                             std::optional<ScreenPoint> at) {
    recorder_.mouseHook_.buttonChanged(button, down, at);
}

MacroRecorder::MacroRecorder(InputCapture& capture, const TickClock& clock, MacroEditor& editor,
                             RecordingTarget& target)
    : capture_(capture),
      clock_(clock),
      editor_(editor),
      target_(target),
      mouseHook_(clock),
      worker_(mouseHook_, queue_) {
    keyboardHook_.OnReceive = [this](std::uint16_t virtualKey, int, KeyPressType type) {
        RecorderInput input;
        input.kind = RecorderInput::Kind::Key;
        input.virtualKey = virtualKey;
        input.type = type;
        input.tick = clock_.nowMs();
        queue_.push(input);
    };
    mouseHook_.setRaised([this] { worker_.wake(); });
}

MacroRecorder::~MacroRecorder() {
    if (recording_) capture_.stop();
    worker_.stop();
}

MacroRecorder::Click MacroRecorder::startClick(int selectedSlot, const RecordDelay& delay) {
    if (recording_) {
        if (insertMode_) return Click::Ignored;
        finish();
        return Click::Stopped;
    }
    recordLimit_ = recordLimitFor(delay);
    if (selectedSlot < 0) return Click::Ignored;
    if (!begin(selectedSlot, delay, false, InsertChoice::KeyFront)) return Click::Unavailable;
    editor_.clear();
    return Click::Started;
}

MacroRecorder::Click MacroRecorder::insertStartClick(int selectedSlot, InsertChoice choice,
                                                     const RecordDelay& delay) {
    if (recording_) {
        if (!insertMode_) return Click::Ignored;
        end(true);
        return Click::Stopped;
    }
    recordLimit_ = recordLimitFor(delay);
    if (selectedSlot < 0 || editor_.selectedRow() < 0 || !insertsKeys(choice))
        return Click::Ignored;
    // The macro being edited counts: what is inserted must fit beside it.
    if (macroLinesByteCost(editor_.lines()) >= recordLimit_) return Click::Full;
    if (!begin(selectedSlot, delay, true, choice)) return Click::Unavailable;
    return Click::Started;
}

bool MacroRecorder::finish() {
    if (!recording_) return false;
    end(true);
    // The entry chosen at the start is the target, whatever the list shows now.
    target_.storeRecording(targetSlot_, editor_.lines());
    return true;
}

bool MacroRecorder::begin(int slot, const RecordDelay& delay, bool insert, InsertChoice choice) {
    queue_.takeAll();
    targetSlot_ = slot;
    delay_ = delay;
    insertMode_ = insert;
    insertChoice_ = choice;
    insertIndex_ = insert ? editor_.selectedRow() : 0;
    recordedBytes_ = insert ? macroLinesByteCost(editor_.lines()) : 0;
    lastEventTick_.reset();
    limitHit_ = false;
    stopRequested_ = false;
    lastKey_ = -1;
    keysHeld_.clear();
    openKeys_.clear();
    openButtons_.fill(false);

    mouseHook_.install();
    worker_.start();
    mouseHook_.Recording = true;
    keyboardHook_.Enabled = true;
    if (!capture_.start(sink_)) {
        keyboardHook_.Enabled = false;
        mouseHook_.Recording = false;
        mouseHook_.remove();
        worker_.stop();
        insertMode_ = false;
        return false;
    }
    recording_ = true;
    return true;
}

void MacroRecorder::end(bool takeQueued) {
    capture_.stop();
    keyboardHook_.Enabled = false;
    mouseHook_.Recording = false;
    mouseHook_.remove();
    worker_.stop();
    // What happened before a Stop click still counts, unless the limit ends it first.
    std::deque<RecorderInput> queued = queue_.takeAll();
    if (takeQueued) {
        for (const RecorderInput& input : queued)
            if (apply(input)) break;
    }
    closeOpenPresses();
    recording_ = false;
    insertMode_ = false;
    lastEventTick_.reset();
    stopRequested_ = false;
}

bool MacroRecorder::processPending() {
    if (!recording_) {
        queue_.takeAll();
        return false;
    }
    for (const RecorderInput& input : queue_.takeAll()) {
        if (!apply(input)) continue;
        // Inputs after the one that reached the limit are dropped with the recording.
        const bool insert = insertMode_;
        end(false);
        if (!insert) target_.storeRecording(targetSlot_, editor_.lines());
        return true;
    }
    return false;
}

bool MacroRecorder::apply(const RecorderInput& input) {
    if (input.kind == RecorderInput::Kind::Key)
        return KeyboardHook1Receive(input.virtualKey, input.type, input.tick);
    return mouseFlag(input.flag, input.tick);
}

std::optional<int> MacroRecorder::pauseBefore(std::uint64_t tick) const {
    if (delay_.mode == RecordDelayMode::None || !lastEventTick_) return std::nullopt;
    if (delay_.mode == RecordDelayMode::Fixed)
        return std::clamp(delay_.fixedMs, kMinEditDelayMs, kMaxEditDelayMs);
    // A key and a button event may reach the queue out of order by a moment.
    const std::uint64_t elapsed = tick > *lastEventTick_ ? tick - *lastEventTick_ : 0;
    return static_cast<int>(std::min<std::uint64_t>(elapsed, kMaxRecordedDelayMs));
}

bool MacroRecorder::KeyboardHook1Receive(std::uint16_t virtualKey, KeyPressType type,
                                         std::uint64_t tick) {
    const MacroLine pressLine = keyEventLine(virtualKey, true);
    if (pressLine.empty()) return false;  // virtual key 0xFF
    addHeaderIfNeeded();
    const int room = delay_.mode == RecordDelayMode::None ? 2 : 5;

    enum class Direction { None, Press, Release } direction = Direction::None;
    if (type != KeyPressType::Release) {
        // A further press of a key that is down is the keyboard's auto-repeat.
        if (keysHeld_.contains(virtualKey)) return false;
        keysHeld_.insert(virtualKey);
        if (recordedBytes_ < recordLimit_ - room) {
            direction = Direction::Press;
        } else {
            limitHit_ = true;
            stopRequested_ = true;
        }
    } else {
        keysHeld_.erase(virtualKey);
        if (openKeys_.contains(virtualKey)) {
            // Its bytes were kept when the press was recorded.
            direction = Direction::Release;
        } else if (!limitHit_ || virtualKey != lastKey_) {
            if (recordedBytes_ < recordLimit_)
                direction = Direction::Release;
            else
                stopRequested_ = true;
        }
    }
    lastKey_ = virtualKey;

    if (direction != Direction::None) {
        const bool press = direction == Direction::Press;
        const int free = roomBeside(kKeyLineCost, press, !press && openKeys_.contains(virtualKey));
        if (free < 0) {
            // Not even the event fits beside the releases still owed.
            if (press) limitHit_ = true;
            stopRequested_ = true;
            direction = Direction::None;
        } else {
            if (std::optional<int> pause = pauseBefore(tick)) {
                int d = *pause;
                if (delayByteCost(d) > free) d = longestDelayWithin(free);
                if (d >= 0) addLine(delayEventLine(d), delayByteCost(d));
            }
            if (delay_.mode != RecordDelayMode::None) lastEventTick_ = tick;
            addLine(press ? pressLine : keyEventLine(virtualKey, false), kKeyLineCost);
            if (press)
                openKeys_.insert(virtualKey);
            else
                openKeys_.erase(virtualKey);
        }
    }
    return recordedBytes_ > recordLimit_ || stopRequested_;
}

bool MacroRecorder::mouseFlag(int flag, std::uint64_t tick) {
    addHeaderIfNeeded();
    const auto button = static_cast<std::size_t>(flag / 2);
    const bool press = flag % 2 == 0;
    const int free = roomBeside(kButtonLineCost, press, !press && openButtons_[button]);
    // Buttons are not held to the record limit, but the macro's bytes bind them too.
    if (free < 0) return true;
    RefreshMacroMouseTime(tick, free);
    addLine(mouseButtonEventLine(static_cast<MouseButton>(button), press), kButtonLineCost);
    openButtons_[button] = press;
    return stopRequested_;
}

void MacroRecorder::RefreshMacroMouseTime(std::uint64_t tick, int room) {
    if (std::optional<int> pause = pauseBefore(tick)) {
        int d = *pause;
        if (splitDelayCost(d) > room) {
            const int whole = std::min(d / kDelayPairMs, room / delayByteCost(kDelayPairMs));
            const int left = room - whole * delayByteCost(kDelayPairMs);
            const int rest = whole < d / kDelayPairMs ? kDelayPairMs - 1 : d % kDelayPairMs;
            d = whole * kDelayPairMs + (left >= 2 ? rest : 0);
        }
        for (int i = 0; i < d / kDelayPairMs; ++i)
            addLine(delayEventLine(kDelayPairMs), delayByteCost(kDelayPairMs));
        if (d % kDelayPairMs > 0)
            addLine(delayEventLine(d % kDelayPairMs), delayByteCost(d % kDelayPairMs));
    }
    if (delay_.mode != RecordDelayMode::None) lastEventTick_ = tick;
}

void MacroRecorder::addHeaderIfNeeded() {
    if (editor_.lines().empty()) editor_.appendLine(recordingHeader(delay_));
}

void MacroRecorder::addLine(MacroLine line, int cost) {
    recordedBytes_ += cost;
    if (!insertMode_) {
        editor_.appendLine(std::move(line));
        return;
    }
    const int offset = insertChoice_ == InsertChoice::KeyFront ? 1 : 2;
    editor_.insertLine(static_cast<std::size_t>(insertIndex_ + offset), std::move(line));
    ++insertIndex_;
    editor_.select(insertIndex_);
}

int MacroRecorder::roomBeside(int cost, bool press, bool closes) const {
    // A press owes its release's bytes from now on; the release of a recorded press pays them.
    const int reserveAfter = reservedBytes() + (press ? cost : closes ? -cost : 0);
    return kMacroEventByteLimit - recordedBytes_ - cost - reserveAfter;
}

int MacroRecorder::reservedBytes() const {
    const auto buttons = std::count(openButtons_.begin(), openButtons_.end(), true);
    return static_cast<int>(openKeys_.size()) * kKeyLineCost +
           static_cast<int>(buttons) * kButtonLineCost;
}

void MacroRecorder::closeOpenPresses() {
    for (std::uint16_t key : openKeys_) addLine(keyEventLine(key, false), kKeyLineCost);
    openKeys_.clear();
    for (std::size_t b = 0; b < openButtons_.size(); ++b) {
        if (openButtons_[b])
            addLine(mouseButtonEventLine(static_cast<MouseButton>(b), false), kButtonLineCost);
    }
    openButtons_.fill(false);
}

}  // namespace kvr
