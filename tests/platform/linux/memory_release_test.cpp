#include "gui/memory_release.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace kvr {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizerHeap = true;
#else
constexpr bool kSanitizerHeap = false;
#endif

// Private memory the process has resident, in KiB.
long residentAnonymousKib() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "RssAnon:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

TEST(MemoryRelease, FreedPagesInsideTheHeapGoBackToTheSystem) {
    if (kSanitizerHeap) GTEST_SKIP() << "the sanitizer keeps its own heap";
    // Blocks small enough for the heap itself, then one kept above them, so that freeing the
    // blocks leaves a hole in the heap rather than a top the allocator trims by itself.
    constexpr std::size_t kBlock = 64 * 1024;
    constexpr int kBlocks = 128;
    std::vector<std::unique_ptr<char[]>> blocks;
    for (int i = 0; i < kBlocks; ++i) {
        blocks.push_back(std::make_unique<char[]>(kBlock));
        std::memset(blocks.back().get(), 1, kBlock);
    }
    auto above = std::make_unique<char[]>(kBlock);
    const long held = residentAnonymousKib();
    blocks.clear();
    const long before = residentAnonymousKib();
    ASSERT_GT(before, held - 1024) << "freeing alone gave the pages back";
    releaseFreedMemory();
    EXPECT_LT(residentAnonymousKib(), before - 4 * 1024) << "8 MiB freed";
}

TEST(MemoryRelease, LargeBlocksGoBackTheMomentTheyAreFreed) {
    if (kSanitizerHeap) GTEST_SKIP() << "the sanitizer keeps its own heap";
    // A large block freed would otherwise teach the allocator to take blocks up to its size
    // from the heap.
    std::make_unique<char[]>(4 * 1024 * 1024).reset();
    returnLargeBlocksWhenFreed();
    constexpr std::size_t kBlock = 200 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks;
    for (int i = 0; i < 20; ++i) {
        blocks.push_back(std::make_unique<char[]>(kBlock));
        std::memset(blocks.back().get(), 1, kBlock);
    }
    auto above = std::make_unique<char[]>(64);
    const long held = residentAnonymousKib();
    blocks.clear();
    EXPECT_LT(residentAnonymousKib(), held - 3 * 1024) << "4 MiB freed, nothing released";
}

}  // namespace
}  // namespace kvr
