#include "device/emulated_mouse.h"

#include <algorithm>
#include <utility>

#include "base/resources.h"
#include "device/device_link.h"

namespace kvr {

namespace {

// The built-in default image packs the regions with no gap.
constexpr std::size_t kImageParamSize = 45;
constexpr std::size_t kImageProfileSize = 28;

void copyBounded(std::span<const unsigned char> from, std::size_t offset, std::size_t length,
                 MouseMemory& to, std::size_t address) {
    if (offset >= from.size()) return;
    const std::size_t n = std::min(length, from.size() - offset);
    std::copy_n(from.begin() + static_cast<std::ptrdiff_t>(offset), n,
                to.begin() + static_cast<std::ptrdiff_t>(address));
}

std::size_t wrap(std::size_t address) { return address % kMouseMemorySize; }

}  // namespace

MouseMemory factoryMemory() {
    MouseMemory memory;
    memory.fill(0xFF);
    std::fill(memory.begin() + kMemoryMacroAddress, memory.end(), std::uint8_t{0});
    if (const auto image = findResource("KVR5507Data")) {
        copyBounded(*image, 0, kImageParamSize, memory, kMemoryParamAddress);
        copyBounded(*image, kImageParamSize, kImageProfileSize, memory, kMemoryProfileAddress);
    }
    return memory;
}

EmulatedMouse::EmulatedMouse(int variant, const MouseMemory& memory)
    : variant_(variant), memory_(memory) {
    reply_.bytes[CommandReport::kIdByte] = kCommandReportId;
}

std::uint16_t EmulatedMouse::version() const {
    return variant_ == 2 ? kVersionVariant2 : kVersionVariant1;
}

HidInterfaceInfo EmulatedMouse::interfaceInfo(std::string path) const {
    return {.path = std::move(path),
            .vendorId = kMouseVendorId,
            .productId = kMouseProductId,
            .version = version(),
            .featureReportLength = kMouseFeatureReportLength};
}

std::vector<CommandReport> EmulatedMouse::requests() const {
    std::vector<CommandReport> out;
    for (const WireEntry& e : wireLog_) {
        if (e.direction == WireEntry::Direction::Set) out.push_back({e.bytes});
    }
    return out;
}

void EmulatedMouse::refuseNext(int requests, std::uint8_t status) {
    refuseRequests(requestCount_ + 1, requests, status);
}

void EmulatedMouse::refuseRequests(int firstRequest, int requests, std::uint8_t status) {
    if (requests <= 0) return;
    const int last = requests >= kForever - firstRequest ? kForever : firstRequest + requests - 1;
    refusals_.push_back({firstRequest, last, status});
}

void EmulatedMouse::loseChunk(int chunkIndex, int block) {
    lostChunks_.push_back({chunkIndex, block, 0, -1});
}

std::uint8_t EmulatedMouse::refusalFor(int request) const {
    for (const Refusal& r : refusals_) {
        if (request >= r.first && request <= r.last) return r.status;
    }
    return kStatusAck;
}

bool EmulatedMouse::chunkIsLost() {
    for (LostChunk& lost : lostChunks_) {
        if (range_.chunk != lost.chunk) continue;
        if (lost.block != kAnyBlock && lost.block != range_.block) continue;
        if (lost.servedBlock != range_.block) {
            lost.servedBlock = range_.block;
            lost.refusalsLeft = kHandshakeTries;
        }
        if (lost.refusalsLeft == 0) continue;
        if (--lost.refusalsLeft == 0) {
            // The host has given up on this chunk: the next request is for the one after it.
            range_.offset += kChunkSize;
            ++range_.chunk;
        }
        return true;
    }
    return false;
}

bool EmulatedMouse::setFeature(std::span<const std::uint8_t> report) {
    if (unplugged_) return false;
    const int number = requestCount_ + 1;
    if (unplugAt_ != 0 && number >= unplugAt_) {
        unplugged_ = true;
        if (onUnplug) onUnplug();
        return false;
    }
    requestCount_ = number;

    WireEntry entry;
    std::copy_n(report.begin(), std::min(report.size(), entry.bytes.size()), entry.bytes.begin());
    wireLog_.push_back(entry);
    if (report.size() != kCommandReportSize || report[0] != kCommandReportId) return false;
    const CommandReport request{entry.bytes};

    const std::uint8_t status = refusalFor(number);
    const std::uint8_t command = request[CommandReport::kCommandByte];
    const bool isChunk = command == ReadNextCmd || command == WriteNextCmd;
    if (status != kStatusAck) {
        reply_.bytes[CommandReport::kStatusByte] = status;
    } else if (isChunk && chunkIsLost()) {
        reply_.bytes[CommandReport::kStatusByte] = kStatusNotAnswered;
    } else {
        carryOut(request);
    }
    return true;
}

bool EmulatedMouse::getFeature(std::span<std::uint8_t> report) {
    if (unplugged_ || report.size() < kCommandReportSize) return false;
    std::ranges::copy(reply_.bytes, report.begin());
    wireLog_.push_back({WireEntry::Direction::Get, reply_.bytes});
    return true;
}

void EmulatedMouse::carryOut(const CommandReport& request) {
    const std::uint8_t command = request[CommandReport::kCommandByte];
    // Commands without data of their own answer with the request and the acknowledgement.
    reply_ = request;
    reply_.bytes[CommandReport::kStatusByte] = kStatusAck;
    switch (command) {
        case BeginCmd:
            if (onTransferBegin && !onTransferBegin())
                reply_.bytes[CommandReport::kStatusByte] = kStatusNotAnswered;
            break;
        case SystemReloadCmd:
            break;
        case EndCmd:
            if (unreportedWrite_) reportWrite();
            if (onTransferEnd) onTransferEnd();
            break;
        case StatusCmd:
            reply_ = CommandReport::request(0);
            reply_.bytes[1] = kStatusReplyTag;
            reply_.bytes[2] = ready_ ? kStatusReadyMask : 0;
            reply_.bytes[CommandReport::kStatusByte] = kStatusAck;
            break;
        case ReadStartCmd:
        case WriteStartCmd:
            range_ = {.write = command == WriteStartCmd,
                      .address = static_cast<std::size_t>(request[2] | (request[3] << 8)),
                      .length = static_cast<std::size_t>(request[4] | (request[5] << 8)),
                      .offset = 0,
                      .chunk = 0,
                      .block = blocks_++};
            break;
        case ReadNextCmd:
        case WriteNextCmd:
            nextChunk(request);
            break;
        default:
            // A command the firmware does not know goes unanswered.
            reply_.bytes[CommandReport::kStatusByte] = kStatusNotAnswered;
            break;
    }
}

void EmulatedMouse::nextChunk(const CommandReport& request) {
    if (request[CommandReport::kCommandByte] == ReadNextCmd) {
        // The walk goes on past the counted length: padding bytes come from the memory behind.
        for (std::size_t i = 0; i < kChunkSize; ++i) {
            reply_.bytes[1 + i] = memory_[wrap(range_.address + range_.offset + i)];
        }
    } else if (range_.write && range_.offset < range_.length) {
        // Only the bytes the start command counted are stored; padding is dropped.
        for (std::size_t i = 0; i < kChunkSize && range_.offset + i < range_.length; ++i) {
            memory_[wrap(range_.address + range_.offset + i)] = request[2 + i];
        }
        unreportedWrite_ = true;
    }
    range_.offset += kChunkSize;
    ++range_.chunk;
}

void EmulatedMouse::reportWrite() {
    unreportedWrite_ = false;
    if (onMemoryWritten) onMemoryWritten(memory_);
}

void plugMouse(VirtualBus& bus, const std::shared_ptr<EmulatedMouse>& mouse,
               const std::string& path) {
    bus.plug({.info = mouse->interfaceInfo(path), .openable = true, .device = mouse});
    mouse->onUnplug = bus.unplugger(path);
}

}  // namespace kvr
