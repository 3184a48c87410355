// A HID report descriptor as an interface reports it: the first byte is the report ID asked
// for, the rest the descriptor.
#include <cstdint>
#include <span>

#include "device/report_descriptor.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int length = kvr::featureReportLength(std::span(data + 1, size - 1), data[0]);
    if (length < 0) kvr::fuzz::broken("a report length below zero");
    return 0;
}
