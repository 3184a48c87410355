#pragma once
// The mouse's command protocol over feature report 4: a request is set, then the same report is
// read back until the mouse marks it acknowledged. Configuration memory moves in 6-byte chunks.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>

namespace kvr {

class DeviceLink;
class Pacer;

inline constexpr std::size_t kCommandReportSize = 8;
inline constexpr std::uint8_t kCommandReportId = 4;
inline constexpr std::size_t kChunkSize = 6;
inline constexpr std::size_t kReplyStoreSize = 7;

// Byte 7 of a reply.
inline constexpr std::uint8_t kStatusNotAnswered = 0x00;
inline constexpr std::uint8_t kStatusAck = 0xCC;
// Reply to StatusCmd: byte 1 tags the reply, byte 2 carries the ready flag.
inline constexpr std::uint8_t kStatusReplyTag = 0xAA;
inline constexpr std::uint8_t kStatusReadyMask = 0x04;

inline constexpr std::uint8_t BeginCmd = 1;
inline constexpr std::uint8_t EndCmd = 2;
inline constexpr std::uint8_t StatusCmd = 3;
inline constexpr std::uint8_t ReadStartCmd = 4;
inline constexpr std::uint8_t ReadNextCmd = 5;
inline constexpr std::uint8_t WriteStartCmd = 6;
inline constexpr std::uint8_t WriteNextCmd = 7;
inline constexpr std::uint8_t SystemReloadCmd = 8;

inline constexpr int kHandshakeTries = 10;
inline constexpr int kHandshakePolls = 10;

// The 8-byte report, the same layout in both directions: report ID, command (or reply byte 1),
// five parameter bytes, and the status byte (or, in WriteNextCmd, the sixth data byte).
struct CommandReport {
    static constexpr std::size_t kIdByte = 0;
    static constexpr std::size_t kCommandByte = 1;
    static constexpr std::size_t kStatusByte = 7;

    std::array<std::uint8_t, kCommandReportSize> bytes{};

    // Request with parameter bytes 2..7.
    static CommandReport request(std::uint8_t command, std::span<const std::uint8_t, 6> params);
    // Request with p1..p4 in bytes 2..5 and zero in bytes 6 and 7.
    static CommandReport request(std::uint8_t command, std::uint8_t p1 = 0, std::uint8_t p2 = 0,
                                 std::uint8_t p3 = 0, std::uint8_t p4 = 0);

    std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
    std::uint8_t status() const { return bytes[kStatusByte]; }
    bool acknowledged() const { return status() == kStatusAck; }

    friend bool operator==(const CommandReport&, const CommandReport&) = default;
};

// Whole chunks a block of `length` bytes moves; the last one may carry padding.
constexpr std::size_t chunkCount(std::size_t length) {
    return (length + kChunkSize - 1) / kChunkSize;
}

// Runs the protocol on the link's open interface. Not re-entrant: one report buffer and one
// reply store are shared by every operation, and only one transfer may run at a time.
class CommandProtocol {
public:
    CommandProtocol(DeviceLink& link, Pacer& pacer) : link_(link), pacer_(pacer) {}

    // True when acknowledged; the reply stays in report() for the caller (a status query reads
    // bytes 1 and 2). Fails at once, with no platform call, when the link has no device.
    [[nodiscard]] bool SendCommand(std::uint8_t command, std::uint8_t p1 = 0, std::uint8_t p2 = 0,
                                   std::uint8_t p3 = 0, std::uint8_t p4 = 0);

    // Fetches the next six bytes of the range into the reply store; a chunk that is not
    // acknowledged reads as 0xFF. Returns whether it was acknowledged.
    bool ReadChunk();
    [[nodiscard]] bool WriteChunk(std::span<const std::uint8_t, kChunkSize> data);

    // Presets the first `presetSize` bytes of `dest` to 0xFF, then reads whole chunks into it.
    // True when ReadStartCmd was acknowledged, whatever the chunks gave. Chunk bytes that fall
    // past the end of `dest` are dropped.
    [[nodiscard]] bool ReadBlock(std::uint16_t address, std::uint16_t length,
                                 std::span<std::uint8_t> dest, std::size_t presetSize);
    // The same without the busy feedback and the event pump (the short identity reads).
    [[nodiscard]] bool ReadBlockQuiet(std::uint16_t address, std::uint16_t length,
                                      std::span<std::uint8_t> dest, std::size_t presetSize);
    // True when WriteStartCmd was acknowledged; a chunk that is never acknowledged is dropped
    // and the block goes on (failedChunks() tells how many). Padding past the end of `source`
    // is sent as 0.
    [[nodiscard]] bool WriteBlock(std::uint16_t address, std::uint16_t length,
                                  std::span<const std::uint8_t> source);

    const CommandReport& report() const { return report_; }
    std::span<const std::uint8_t, kReplyStoreSize> replyStore() const { return replyStore_; }
    // Chunks of the last block transfer that were not acknowledged.
    int failedChunks() const { return failedChunks_; }

    // Runs before every chunk of ReadBlock and WriteBlock, ahead of the event pump; the window
    // shows its busy window here.
    void setBusyHook(std::function<void()> hook) { busyHook_ = std::move(hook); }

private:
    bool handshake(const CommandReport& request);
    bool readBlock(std::uint16_t address, std::uint16_t length, std::span<std::uint8_t> dest,
                   std::size_t presetSize, bool feedback);
    void beforeChunk();

    DeviceLink& link_;
    Pacer& pacer_;
    CommandReport report_;
    std::array<std::uint8_t, kReplyStoreSize> replyStore_{};
    int failedChunks_ = 0;
    std::function<void()> busyHook_;
};

}  // namespace kvr
