#pragma once
// How far a transfer's time lies above the floor the handshake fixes: 5 ms before every set and
// 5 ms before every poll, counted from the emulated mouse's wire log.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "device/emulated_mouse.h"

namespace kvr::bench {

// The transfer's time over its floor; -1 when the transfer failed.
inline double ratioOf(EmulatedMouse& mouse, const std::function<bool()>& transfer) {
    mouse.clearWireLog();
    const auto start = std::chrono::steady_clock::now();
    if (!transfer()) return -1;
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // Every entry of the log, set or poll, had its 5 ms wait before it.
    const auto floor = std::chrono::milliseconds(5) * mouse.wireLog().size();
    return std::chrono::duration<double>(elapsed) / std::chrono::duration<double>(floor);
}

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace kvr::bench
