#pragma once
// Reads a HID report descriptor far enough to learn how long one feature report is.
#include <cstdint>
#include <span>

namespace kvr {

// Length in bytes of feature report `reportId`, its report ID byte included (7 data bytes give 8).
// 0 when the descriptor declares no such report, declares no report IDs at all, or is damaged
// (an item cut short, unbalanced push and pop): such an interface is never taken for the mouse.
int featureReportLength(std::span<const std::uint8_t> descriptor, std::uint8_t reportId);

}  // namespace kvr
