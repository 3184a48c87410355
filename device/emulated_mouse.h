#pragma once
// The mouse's firmware in memory: 1024 bytes of configuration memory behind feature report 4,
// with the eight commands and the 0xCC handshake. It logs every report it sees and can be made
// to misbehave, so tests drive the real protocol code against it; demo mode runs on it too.
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/command_protocol.h"
#include "device/virtual_bus.h"

namespace kvr {

inline constexpr std::size_t kMouseMemorySize = 1024;
using MouseMemory = std::array<std::uint8_t, kMouseMemorySize>;

// Where the regions sit in the mouse's memory.
inline constexpr std::size_t kMemoryParamAddress = 0;
inline constexpr std::size_t kMemoryProfileAddress = 64;
inline constexpr std::size_t kMemoryMacroAddress = 512;

// The built-in default image laid out as a new mouse holds it: parameter block at 0, profile
// block at 64, an empty macro area at 512, and 0xFF everywhere else.
MouseMemory factoryMemory();

struct WireEntry {
    enum class Direction { Set, Get };
    Direction direction = Direction::Set;
    std::array<std::uint8_t, kCommandReportSize> bytes{};

    friend bool operator==(const WireEntry&, const WireEntry&) = default;
};

class EmulatedMouse final : public VirtualHidDevice {
public:
    static constexpr int kForever = INT_MAX;
    static constexpr int kAnyBlock = -1;

    // Variant 1 answers as HID version 0x0102, variant 2 as 0x0103.
    explicit EmulatedMouse(int variant = 1, const MouseMemory& memory = factoryMemory());

    int variant() const { return variant_; }
    std::uint16_t version() const;
    // The interface the mouse shows on a bus at `path`.
    HidInterfaceInfo interfaceInfo(std::string path) const;

    bool setFeature(std::span<const std::uint8_t> report) override;
    bool getFeature(std::span<std::uint8_t> report) override;

    std::span<std::uint8_t, kMouseMemorySize> memory() { return memory_; }
    const MouseMemory& memory() const { return memory_; }

    // Every set (as received) and every get (as answered), in order.
    const std::vector<WireEntry>& wireLog() const { return wireLog_; }
    // Only the set requests.
    std::vector<CommandReport> requests() const;
    void clearWireLog() { wireLog_.clear(); }
    // Set requests received over the mouse's life; the number of the next one is this plus 1.
    int requestCount() const { return requestCount_; }

    // Faults. A refused request is not carried out; its reply keeps the previous reply's bytes
    // with `status` in byte 7 (0: the mouse never answers it).
    void refuseNext(int requests, std::uint8_t status = kStatusNotAnswered);
    void refuseRequests(int firstRequest, int requests, std::uint8_t status = kStatusNotAnswered);
    // The chunk at `chunkIndex` (0-based) of a block is lost: the mouse leaves all the host's
    // tries for it unanswered and then goes on with the next chunk. `block` counts acknowledged
    // start commands from 0 over the mouse's life; kAnyBlock loses that chunk of every block.
    void loseChunk(int chunkIndex, int block = kAnyBlock);
    void setReady(bool ready) { ready_ = ready; }
    // The mouse drops off the bus when set request number `request` arrives: that request and
    // everything after it fail as on a pulled cable.
    void unplugAtRequest(int request) { unplugAt_ = request; }
    bool unplugged() const { return unplugged_; }

    // Called when the mouse drops off by itself (unplugAtRequest); plugMouse() wires it to the bus.
    std::function<void()> onUnplug;
    // A transfer is what the host brackets with BeginCmd and EndCmd. At BeginCmd: false leaves
    // the command unanswered (demo mode could not have the memory file).
    std::function<bool()> onTransferBegin;
    // At EndCmd when the transfer wrote anything, so demo mode saves the memory once per whole
    // transfer, never between its blocks.
    std::function<void(const MouseMemory&)> onMemoryWritten;
    // At every EndCmd, after onMemoryWritten.
    std::function<void()> onTransferEnd;

private:
    struct Refusal {
        int first;
        int last;  // inclusive
        std::uint8_t status;
    };
    struct Range {
        bool write = false;
        std::size_t address = 0;
        std::size_t length = 0;
        std::size_t offset = 0;  // bytes of the range already walked
        int chunk = 0;
        int block = -1;
    };

    // Status of the reply to the current request, or 0xCC to carry it out.
    std::uint8_t refusalFor(int request) const;
    bool chunkIsLost();
    void carryOut(const CommandReport& request);
    void nextChunk(const CommandReport& request);
    void reportWrite();

    int variant_;
    MouseMemory memory_;
    CommandReport reply_;
    std::vector<WireEntry> wireLog_;
    int requestCount_ = 0;
    int blocks_ = 0;
    Range range_;
    bool unreportedWrite_ = false;
    bool ready_ = true;

    std::vector<Refusal> refusals_;
    struct LostChunk {
        int chunk;
        int block;
        int refusalsLeft;
        int servedBlock;  // the block whose chunk was last lost, so each block loses it once
    };
    std::vector<LostChunk> lostChunks_;
    int unplugAt_ = 0;
    bool unplugged_ = false;
};

// Plugs the mouse into the bus at `path` and lets it pull itself out on an unplug fault.
void plugMouse(VirtualBus& bus, const std::shared_ptr<EmulatedMouse>& mouse,
               const std::string& path);

}  // namespace kvr
