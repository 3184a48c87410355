#include "device/command_protocol.h"

#include <algorithm>
#include <chrono>

#include "device/device_link.h"
#include "device/pacer.h"

namespace kvr {

namespace {

constexpr std::chrono::milliseconds kHandshakeWait{5};

std::uint8_t lowByte(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); }
std::uint8_t highByte(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }

}  // namespace

CommandReport CommandReport::request(std::uint8_t command,
                                     std::span<const std::uint8_t, 6> params) {
    CommandReport r;
    r.bytes[kIdByte] = kCommandReportId;
    r.bytes[kCommandByte] = command;
    std::ranges::copy(params, r.bytes.begin() + 2);
    return r;
}

CommandReport CommandReport::request(std::uint8_t command, std::uint8_t p1, std::uint8_t p2,
                                     std::uint8_t p3, std::uint8_t p4) {
    const std::array<std::uint8_t, 6> params{p1, p2, p3, p4, 0, 0};
    return request(command, params);
}

bool CommandProtocol::handshake(const CommandReport& request) {
    if (!link_.connection()) return false;
    for (int attempt = 0; attempt < kHandshakeTries; ++attempt) {
        // Rebuilt on every try: the buffer holds the last reply, which must never go back out.
        report_ = request;
        pacer_.wait(kHandshakeWait);
        // A wait runs the window's events, which may drop the mouse: the connection is taken
        // afresh after every wait, never kept across one.
        HidConnection* connection = link_.connection();
        if (!connection) return false;
        // Only the status byte judges the exchange; a failed set simply goes unanswered.
        (void)connection->setFeature(report_.bytes);
        for (int poll = 0; poll < kHandshakePolls; ++poll) {
            pacer_.wait(kHandshakeWait);
            connection = link_.connection();
            if (!connection) return false;
            report_.bytes[CommandReport::kIdByte] = kCommandReportId;
            if (!connection->getFeature(report_.bytes)) {
                // A failed get may leave the request in the buffer, and a WriteNextCmd request
                // can carry 0xCC in its last byte: never take that for the mouse's answer.
                report_.bytes[CommandReport::kStatusByte] = kStatusNotAnswered;
            }
            if (report_.status() != kStatusNotAnswered) break;
        }
        if (report_.acknowledged()) return true;
    }
    return false;
}

bool CommandProtocol::SendCommand(std::uint8_t command, std::uint8_t p1, std::uint8_t p2,
                                  std::uint8_t p3, std::uint8_t p4) {
    return handshake(CommandReport::request(command, p1, p2, p3, p4));
}

bool CommandProtocol::ReadChunk() {
    replyStore_.fill(0xFF);
    if (!handshake(CommandReport::request(ReadNextCmd))) return false;
    std::copy_n(report_.bytes.begin() + 1, kReplyStoreSize, replyStore_.begin());
    return true;
}

bool CommandProtocol::WriteChunk(std::span<const std::uint8_t, kChunkSize> data) {
    return handshake(CommandReport::request(WriteNextCmd, data));
}

void CommandProtocol::beforeChunk() {
    if (busyHook_) busyHook_();
    pacer_.pump();
}

bool CommandProtocol::readBlock(std::uint16_t address, std::uint16_t length,
                                std::span<std::uint8_t> dest, std::size_t presetSize,
                                bool feedback) {
    failedChunks_ = 0;
    std::fill_n(dest.begin(), std::min(presetSize, dest.size()), std::uint8_t{0xFF});
    if (!SendCommand(ReadStartCmd, lowByte(address), highByte(address), lowByte(length),
                     highByte(length))) {
        return false;
    }
    std::size_t offset = 0;
    for (std::size_t chunk = 0; chunk < chunkCount(length); ++chunk) {
        if (feedback) beforeChunk();
        // A failed chunk leaves 0xFF bytes; the block's checksum tells the caller.
        if (!ReadChunk()) ++failedChunks_;
        if (offset < dest.size()) {
            const std::size_t n = std::min(kChunkSize, dest.size() - offset);
            std::copy_n(replyStore_.begin(), n, dest.begin() + static_cast<std::ptrdiff_t>(offset));
        }
        offset += kChunkSize;
    }
    return true;
}

bool CommandProtocol::ReadBlock(std::uint16_t address, std::uint16_t length,
                                std::span<std::uint8_t> dest, std::size_t presetSize) {
    return readBlock(address, length, dest, presetSize, true);
}

bool CommandProtocol::ReadBlockQuiet(std::uint16_t address, std::uint16_t length,
                                     std::span<std::uint8_t> dest, std::size_t presetSize) {
    return readBlock(address, length, dest, presetSize, false);
}

bool CommandProtocol::WriteBlock(std::uint16_t address, std::uint16_t length,
                                 std::span<const std::uint8_t> source) {
    failedChunks_ = 0;
    replyStore_.fill(0xFF);
    if (!SendCommand(WriteStartCmd, lowByte(address), highByte(address), lowByte(length),
                     highByte(length))) {
        return false;
    }
    std::size_t offset = 0;
    for (std::size_t chunk = 0; chunk < chunkCount(length); ++chunk) {
        beforeChunk();
        std::array<std::uint8_t, kChunkSize> data{};
        if (offset < source.size()) {
            const std::size_t n = std::min(kChunkSize, source.size() - offset);
            std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(offset), n, data.begin());
        }
        // A chunk the mouse never acknowledges is dropped and the block goes on.
        if (!WriteChunk(data)) ++failedChunks_;
        offset += kChunkSize;
    }
    return true;
}

}  // namespace kvr
