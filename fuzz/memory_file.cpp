// The emulated mouse's memory file: opened from any bytes, and a memory it takes saved again
// unchanged.
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "device/memory_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvr;
    const std::span<const std::uint8_t> bytes(data, size);
    const MemoryFileOpen opened = openMemoryFile(fuzz::scratchFile(bytes, "mouse.bin"));
    if (!opened.ok()) {
        if (opened.message.empty()) fuzz::broken("a refused memory file has no message");
        return 0;
    }
    if (opened.state != MemoryFileState::Loaded || !std::ranges::equal(opened.memory, bytes)) {
        fuzz::broken("the memory file was not taken as it is");
    }
    const auto copy = fuzz::scratchPath("copy.bin");
    if (!saveMemoryFile(copy, opened.memory)) fuzz::broken("a memory cannot be saved");
    std::ifstream in(copy, std::ios::binary);
    const std::vector<char> saved{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    if (!std::ranges::equal(saved, bytes, [](char a, std::uint8_t b) {
            return static_cast<std::uint8_t>(a) == b;
        })) {
        fuzz::broken("a saved memory differs from the one opened");
    }
    return 0;
}
