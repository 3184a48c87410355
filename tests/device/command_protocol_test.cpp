#include "device/command_protocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <numeric>
#include <ostream>
#include <utility>
#include <vector>

#include "device_fixture.h"

namespace kvr {
namespace {

using std::chrono::milliseconds;
using test::report;
using Direction = WireEntry::Direction;

class CommandProtocolTest : public test::DeviceTest {
protected:
    void SetUp() override { openMouse(); }

    // How many gets followed each set, in order.
    std::vector<int> getsPerSet() const {
        std::vector<int> out;
        for (const WireEntry& e : mouse->wireLog()) {
            if (e.direction == Direction::Set) {
                out.push_back(0);
            } else if (!out.empty()) {
                ++out.back();
            }
        }
        return out;
    }

    std::array<std::uint8_t, 512> buffer{};
};

TEST_F(CommandProtocolTest, OneExchangeIsAWaitedSetAndAWaitedPoll) {
    ASSERT_TRUE(protocol.SendCommand(BeginCmd));
    const std::vector<WireEntry> expected = {
        {Direction::Set, {4, 1, 0, 0, 0, 0, 0, 0}},
        {Direction::Get, {4, 1, 0, 0, 0, 0, 0, 0xCC}},
    };
    EXPECT_EQ(mouse->wireLog(), expected);
    EXPECT_EQ(pacer.waits(), (std::vector<milliseconds>{milliseconds(5), milliseconds(5)}));
    EXPECT_EQ(protocol.report(), report({4, 1, 0, 0, 0, 0, 0, 0xCC}));
}

// The window's events run inside every wait; one of them may drop the mouse. The exchange
// then ends without touching the closed connection (AddressSanitizer sees a use after free).
TEST_F(CommandProtocolTest, AMouseDroppedDuringAWaitEndsTheExchange) {
    for (int waitsBeforeDrop : {1, 2}) {  // before the set, before the first poll
        int waits = 0;
        pacer.onPump = [&] {
            if (++waits == waitsBeforeDrop) link.closeHandle();
        };
        EXPECT_FALSE(protocol.SendCommand(BeginCmd)) << "dropped at wait " << waitsBeforeDrop;
        pacer.onPump = nullptr;
        ASSERT_TRUE(link.OpenDevice(kMouseVendorId, kMouseProductId, kVersionVariant1));
    }
}

TEST_F(CommandProtocolTest, StatusReplyStaysInTheReportBuffer) {
    ASSERT_TRUE(protocol.SendCommand(StatusCmd));
    EXPECT_EQ(protocol.report()[1], kStatusReplyTag);
    EXPECT_EQ(protocol.report()[2] & kStatusReadyMask, kStatusReadyMask);

    mouse->setReady(false);
    ASSERT_TRUE(protocol.SendCommand(StatusCmd));
    EXPECT_EQ(protocol.report()[1], kStatusReplyTag);
    EXPECT_EQ(protocol.report()[2] & kStatusReadyMask, 0);
}

struct ChunkCase {
    std::uint16_t length;
    std::size_t chunks;

    friend void PrintTo(const ChunkCase& c, std::ostream* os) { *os << "length " << c.length; }
};

class ChunkCountTest : public CommandProtocolTest, public testing::WithParamInterface<ChunkCase> {};

TEST_P(ChunkCountTest, BlocksMoveWholeChunksAfterTheStartCommand) {
    const auto [length, chunks] = GetParam();
    ASSERT_EQ(chunkCount(length), chunks);

    ASSERT_TRUE(protocol.ReadBlock(0x0200, length, buffer, length));
    std::vector<CommandReport> expected = {
        report({4, ReadStartCmd, 0x00, 0x02, std::uint8_t(length & 0xFF), std::uint8_t(length >> 8),
                0, 0})};
    expected.insert(expected.end(), chunks, report({4, ReadNextCmd, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(requests(), expected);
    // Whole chunks land in the destination, padding included.
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + chunks * kChunkSize,
                           mouse->memory().begin() + 0x200));

    mouse->clearWireLog();
    std::vector<std::uint8_t> source(chunks * kChunkSize, 0x5A);
    ASSERT_TRUE(protocol.WriteBlock(0x40, length, source));
    const std::vector<CommandReport> sent = requests();
    ASSERT_EQ(sent.size(), 1 + chunks);
    EXPECT_EQ(sent[0], report({4, WriteStartCmd, 0x40, 0x00, std::uint8_t(length & 0xFF),
                               std::uint8_t(length >> 8), 0, 0}));
    EXPECT_TRUE(std::all_of(sent.begin() + 1, sent.end(), [](const CommandReport& r) {
        return r == report({4, WriteNextCmd, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A});
    }));
}

INSTANTIATE_TEST_SUITE_P(Lengths, ChunkCountTest,
                         testing::Values(ChunkCase{0, 0}, ChunkCase{1, 1}, ChunkCase{6, 1},
                                         ChunkCase{7, 2}, ChunkCase{28, 5}, ChunkCase{45, 8},
                                         ChunkCase{256, 43}),
                         [](const testing::TestParamInfo<ChunkCase>& info) {
                             return "Length" + std::to_string(info.param.length);
                         });

struct RefusalCase {
    const char* name;
    std::uint8_t status;  // what the mouse answers instead of 0xCC
    int refusals;
    bool success;
    std::vector<int> getsPerSet;

    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }
};

class HandshakeTest : public CommandProtocolTest,
                      public testing::WithParamInterface<RefusalCase> {};

TEST_P(HandshakeTest, TriesAndPollsFollowTheStatusByte) {
    const RefusalCase& c = GetParam();
    mouse->refuseNext(c.refusals, c.status);
    EXPECT_EQ(protocol.SendCommand(BeginCmd), c.success);
    EXPECT_EQ(getsPerSet(), c.getsPerSet);
    // Every set and every poll is preceded by its 5 ms wait.
    const int exchanges = static_cast<int>(c.getsPerSet.size()) +
                          std::accumulate(c.getsPerSet.begin(), c.getsPerSet.end(), 0);
    EXPECT_EQ(pacer.now(), milliseconds(5 * exchanges));
    const std::vector<CommandReport> sent = requests();
    EXPECT_TRUE(std::all_of(sent.begin(), sent.end(), [](const CommandReport& r) {
        return r == report({4, BeginCmd, 0, 0, 0, 0, 0, 0});
    }));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, HandshakeTest,
    testing::Values(RefusalCase{"NotAcknowledgedEver", 0x01, EmulatedMouse::kForever, false,
                                std::vector<int>(10, 1)},
                    RefusalCase{"NeverAnswered", 0x00, EmulatedMouse::kForever, false,
                                std::vector<int>(10, 10)},
                    RefusalCase{"NotAcknowledgedThrice", 0x01, 3, true, {1, 1, 1, 1}},
                    RefusalCase{"UnansweredOnceThenAcknowledged", 0x00, 1, true, {10, 1}},
                    RefusalCase{"AcknowledgedOnTheLastTry", 0x01, 9, true,
                                std::vector<int>(10, 1)}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST_F(CommandProtocolTest, ARetrySendsTheRequestAgainNeverTheReply) {
    ASSERT_TRUE(protocol.SendCommand(ReadStartCmd, 0x00, 0x00, 0x0C, 0x00));
    ASSERT_TRUE(protocol.ReadChunk());  // the mouse's reply buffer now holds data bytes
    mouse->clearWireLog();
    mouse->refuseNext(2, 0x01);
    ASSERT_TRUE(protocol.ReadChunk());
    const auto readNext = report({4, ReadNextCmd, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(requests(), (std::vector<CommandReport>{readNext, readNext, readNext}));

    mouse->clearWireLog();
    mouse->refuseNext(1, 0x01);
    const std::array<std::uint8_t, 6> data{1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(protocol.WriteChunk(data));
    const auto writeNext = report({4, WriteNextCmd, 1, 2, 3, 4, 5, 6});
    EXPECT_EQ(requests(), (std::vector<CommandReport>{writeNext, writeNext}));
}

TEST_F(CommandProtocolTest, WriteNextCarriesItsSixthByteInTheStatusPlace) {
    const std::array<std::uint8_t, 12> source{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const std::uint8_t after = mouse->memory()[71];
    ASSERT_TRUE(protocol.WriteBlock(64, 7, source));
    EXPECT_EQ(requests(), (std::vector<CommandReport>{report({4, 6, 0x40, 0, 7, 0, 0, 0}),
                                                      report({4, 7, 1, 2, 3, 4, 5, 6}),
                                                      report({4, 7, 7, 8, 9, 10, 11, 12})}));
    EXPECT_TRUE(std::equal(source.begin(), source.begin() + 7, mouse->memory().begin() + 64));
    EXPECT_EQ(mouse->memory()[71], after) << "the mouse stores only the counted bytes";
}

TEST_F(CommandProtocolTest, AChunkNeverAcknowledgedReadsAsFFAndTheBlockGoesOn) {
    mouse->loseChunk(2);
    std::array<std::uint8_t, 48> dest{};
    ASSERT_TRUE(protocol.ReadBlock(0, 45, dest, 45));
    EXPECT_EQ(protocol.failedChunks(), 1);
    for (std::size_t i = 0; i < 48; ++i) {
        const std::uint8_t expected = (i >= 12 && i < 18) ? 0xFF : mouse->memory()[i];
        EXPECT_EQ(dest[i], expected) << "byte " << i;
    }
    // One start, two chunks, ten tries of the lost one, five more chunks.
    EXPECT_EQ(requests().size(), 1u + 2 + 10 + 5);
}

TEST_F(CommandProtocolTest, AWriteChunkNeverAcknowledgedIsDroppedAndTheRestIsWritten) {
    mouse->loseChunk(1);
    const auto before = mouse->memory()[6];
    std::array<std::uint8_t, 18> source{};
    source.fill(0x11);
    ASSERT_TRUE(protocol.WriteBlock(0, 18, source));
    EXPECT_EQ(protocol.failedChunks(), 1);
    EXPECT_EQ(mouse->memory()[5], 0x11);
    EXPECT_EQ(mouse->memory()[6], before);
    EXPECT_EQ(mouse->memory()[12], 0x11);
}

TEST_F(CommandProtocolTest, AFailedStartCommandEndsTheBlock) {
    mouse->refuseNext(EmulatedMouse::kForever, 0x01);
    buffer.fill(0);
    EXPECT_FALSE(protocol.ReadBlock(0, 45, buffer, 512));
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](auto b) { return b == 0xFF; }))
        << "the whole preset range is 0xFF";
    EXPECT_EQ(requests().size(), 10u);

    mouse->clearWireLog();
    EXPECT_FALSE(protocol.WriteBlock(0, 45, buffer));
    EXPECT_EQ(requests().size(), 10u);
    EXPECT_TRUE(std::ranges::all_of(protocol.replyStore(), [](auto b) { return b == 0xFF; }));
}

TEST_F(CommandProtocolTest, BusyFeedbackAndAPumpComeBeforeEveryChunkButNotOnQuietReads) {
    // What had happened when the busy hook ran and when each pump ran: (pumps, requests).
    std::vector<std::pair<int, int>> atBusy;
    std::vector<std::pair<int, int>> atPump;
    protocol.setBusyHook([&] { atBusy.emplace_back(pacer.pumps(), mouse->requestCount()); });
    int pumpsSeen = 0;
    pacer.onPump = [&] {  // also runs after every wait; only real pumps count here
        if (pacer.pumps() == pumpsSeen) return;
        pumpsSeen = pacer.pumps();
        atPump.emplace_back(pacer.pumps(), mouse->requestCount());
    };

    ASSERT_TRUE(protocol.ReadBlockQuiet(43, 2, buffer, 2));
    EXPECT_EQ(pacer.pumps(), 0);
    EXPECT_TRUE(atBusy.empty());

    const int before = mouse->requestCount() + 1;  // requests up to the ReadStartCmd
    ASSERT_TRUE(protocol.ReadBlock(0, 45, buffer, 45));
    ASSERT_TRUE(protocol.WriteBlock(64, 28, buffer));
    ASSERT_EQ(atBusy.size(), 8u + 5);
    ASSERT_EQ(atPump.size(), 8u + 5);
    for (int i = 0; i < 13; ++i) {
        // The write's start command comes after the eighth read chunk.
        const int requestsSoFar = before + i + (i >= 8 ? 1 : 0);
        EXPECT_EQ(atBusy[i], std::make_pair(i, requestsSoFar)) << "chunk " << i;
        EXPECT_EQ(atPump[i], std::make_pair(i + 1, requestsSoFar)) << "chunk " << i;
    }
}

TEST_F(CommandProtocolTest, SpansTooShortForThePaddedChunksAreNeverOverrun) {
    // A destination shorter than the padded read keeps what fits.
    std::vector<std::uint8_t> dest(40, 0);
    ASSERT_TRUE(protocol.ReadBlock(0, 45, dest, 45));
    EXPECT_TRUE(std::equal(dest.begin(), dest.end(), mouse->memory().begin()));
    EXPECT_EQ(requests().size(), 9u);

    // A source shorter than the padded write is sent with zero behind its end.
    mouse->clearWireLog();
    const std::vector<std::uint8_t> source(4, 0x77);
    ASSERT_TRUE(protocol.WriteBlock(100, 7, source));
    EXPECT_EQ(requests().back(), report({4, 7, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(requests()[1], report({4, 7, 0x77, 0x77, 0x77, 0x77, 0, 0}));
}

// The buffer still holds the request when a get fails; a WriteNextCmd whose last data byte is
// 0xCC must not read as an acknowledgement.
class SilentDevice final : public VirtualHidDevice {
public:
    bool setFeature(std::span<const std::uint8_t>) override { return ++sets, true; }
    bool getFeature(std::span<std::uint8_t>) override { return ++gets, false; }
    int sets = 0;
    int gets = 0;
};

TEST(CommandProtocolFailedGet, AFailedPollIsNeverTakenForAnAcknowledgement) {
    VirtualBus bus;
    auto device = std::make_shared<SilentDevice>();
    bus.plug({.info = {.path = "p",
                       .vendorId = kMouseVendorId,
                       .productId = kMouseProductId,
                       .version = kVersionVariant1,
                       .featureReportLength = 8},
              .openable = true,
              .device = device});
    VirtualPacer pacer;
    test::RecordingPresence window;
    DeviceLink link(bus, pacer, window);
    ASSERT_TRUE(link.OpenDevice(kMouseVendorId, kMouseProductId, kVersionVariant1));
    CommandProtocol protocol(link, pacer);

    const std::array<std::uint8_t, 6> data{0, 0, 0, 0, 0, 0xCC};
    EXPECT_FALSE(protocol.WriteChunk(data));
    EXPECT_EQ(device->sets, 10);
    EXPECT_EQ(device->gets, 100);
}

TEST(CommandProtocolNoDevice, EveryOperationFailsAtOnceWithoutAPlatformCall) {
    VirtualBus bus;
    auto mouse = std::make_shared<EmulatedMouse>();
    plugMouse(bus, mouse, test::kMousePath);
    VirtualPacer pacer;
    test::RecordingPresence window;
    DeviceLink link(bus, pacer, window);  // never opened
    CommandProtocol protocol(link, pacer);
    int busy = 0;
    protocol.setBusyHook([&] { ++busy; });

    std::array<std::uint8_t, 48> dest{};
    const std::array<std::uint8_t, 6> data{};
    EXPECT_FALSE(protocol.SendCommand(BeginCmd));
    EXPECT_FALSE(protocol.ReadChunk());
    EXPECT_TRUE(std::ranges::all_of(protocol.replyStore(), [](auto b) { return b == 0xFF; }));
    EXPECT_FALSE(protocol.WriteChunk(data));
    EXPECT_FALSE(protocol.ReadBlock(0, 45, dest, 45));
    EXPECT_FALSE(protocol.ReadBlockQuiet(0, 45, dest, 45));
    EXPECT_FALSE(protocol.WriteBlock(0, 45, dest));

    EXPECT_TRUE(mouse->wireLog().empty());
    EXPECT_EQ(bus.opens(), 0);
    EXPECT_EQ(bus.enumerations(), 0);
    EXPECT_TRUE(pacer.waits().empty());
    EXPECT_EQ(busy, 0);
}

}  // namespace
}  // namespace kvr
