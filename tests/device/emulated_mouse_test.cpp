#include "device/emulated_mouse.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/resources.h"
#include "device/memory_file.h"
#include "device_fixture.h"

namespace kvr {
namespace {

using Direction = WireEntry::Direction;

bool allAre(std::span<const std::uint8_t> bytes, std::uint8_t value) {
    return std::ranges::all_of(bytes, [&](std::uint8_t b) { return b == value; });
}

TEST(FactoryMemory, HoldsTheDefaultImageAtTheMousesAddresses) {
    const auto image = findResource("KVR5507Data");
    ASSERT_TRUE(image);
    ASSERT_EQ(image->size(), 585u);
    const MouseMemory memory = factoryMemory();
    const std::span<const std::uint8_t> m(memory);
    EXPECT_TRUE(std::ranges::equal(m.subspan(0, 45), image->subspan(0, 45)));
    EXPECT_TRUE(allAre(m.subspan(45, 64 - 45), 0xFF));
    EXPECT_TRUE(std::ranges::equal(m.subspan(64, 28), image->subspan(45, 28)));
    EXPECT_TRUE(allAre(m.subspan(92, 512 - 92), 0xFF));
    EXPECT_TRUE(allAre(m.subspan(512), 0x00));
}

class EmulatedMouseTest : public test::DeviceTest {
protected:
    void SetUp() override { openMouse(); }
};

TEST_F(EmulatedMouseTest, AnIdentityCheckGoesOverTheWireAsExpected) {
    mouse->memory()[43] = 0x12;
    mouse->memory()[44] = 0x34;
    ASSERT_TRUE(protocol.SendCommand(BeginCmd));
    ASSERT_TRUE(protocol.SendCommand(StatusCmd));
    std::array<std::uint8_t, 6> identity{};
    ASSERT_TRUE(protocol.ReadBlockQuiet(43, 2, identity, 2));
    const std::uint8_t m45 = mouse->memory()[45];
    const std::vector<WireEntry> expected = {
        {Direction::Set, {0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {Direction::Get, {0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xCC}},
        {Direction::Set, {0x04, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {Direction::Get, {0x04, 0xAA, 0x04, 0x00, 0x00, 0x00, 0x00, 0xCC}},
        {Direction::Set, {0x04, 0x04, 0x2B, 0x00, 0x02, 0x00, 0x00, 0x00}},
        {Direction::Get, {0x04, 0x04, 0x2B, 0x00, 0x02, 0x00, 0x00, 0xCC}},
        {Direction::Set, {0x04, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {Direction::Get, {0x04, 0x12, 0x34, m45, 0xFF, 0xFF, 0xFF, 0xCC}},
    };
    EXPECT_EQ(mouse->wireLog(), expected);
    EXPECT_EQ(identity[0], 0x12);
    EXPECT_EQ(identity[1], 0x34);
}

TEST_F(EmulatedMouseTest, WritesAreReportedOnceWhenTheTransferEnds) {
    std::vector<MouseMemory> saved;
    mouse->onMemoryWritten = [&](const MouseMemory& m) { saved.push_back(m); };
    std::array<std::uint8_t, 30> source{};
    std::ranges::fill(source, 0x42);
    ASSERT_TRUE(protocol.WriteBlock(64, 28, source));
    // A second block of the same transfer, cut short by a lost chunk.
    mouse->loseChunk(4);
    std::ranges::fill(source, 0x43);
    ASSERT_TRUE(protocol.WriteBlock(0, 28, source));
    EXPECT_TRUE(saved.empty()) << "nothing is kept between the blocks of one transfer";
    (void)protocol.SendCommand(EndCmd);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_TRUE(allAre(std::span(saved[0]).subspan(64, 28), 0x42));
    EXPECT_EQ(saved[0][92], 0xFF);
    EXPECT_EQ(saved[0][0], 0x43);
    // A transfer that wrote nothing keeps nothing.
    (void)protocol.SendCommand(EndCmd);
    EXPECT_EQ(saved.size(), 1u);
}

TEST_F(EmulatedMouseTest, UnpluggedMidBlockTheMouseLeavesTheBusAndNothingMoreArrives) {
    mouse->unplugAtRequest(mouse->requestCount() + 4);  // the third chunk
    std::array<std::uint8_t, 48> dest{};
    ASSERT_TRUE(protocol.ReadBlock(0, 45, dest, 45));
    EXPECT_TRUE(mouse->unplugged());
    EXPECT_FALSE(bus.isPlugged(test::kMousePath));
    EXPECT_TRUE(std::equal(dest.begin(), dest.begin() + 12, mouse->memory().begin()));
    EXPECT_TRUE(allAre(std::span(dest).subspan(12, 33), 0xFF));
    EXPECT_EQ(requests().size(), 3u);
    EXPECT_EQ(protocol.failedChunks(), 6);
    EXPECT_FALSE(protocol.SendCommand(EndCmd));
}

TEST_F(EmulatedMouseTest, AStartCommandRefusedByNumberLeavesTheRangeAsItWas) {
    // Requests by number: the start command is refused for all ten tries.
    mouse->refuseRequests(mouse->requestCount() + 1, 10, 0x02);
    std::array<std::uint8_t, 6> dest{};
    EXPECT_FALSE(protocol.ReadBlock(100, 6, dest, 6));
    ASSERT_TRUE(protocol.ReadBlock(6, 6, dest, 6));
    EXPECT_TRUE(std::equal(dest.begin(), dest.end(), mouse->memory().begin() + 6));
}

class MemoryFileTest : public testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::path(testing::TempDir()) /
              testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        file = dir / "mouse.bin";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void writeRaw(std::size_t size, std::uint8_t value) {
        std::ofstream out(file, std::ios::binary);
        const std::vector<char> bytes(size, static_cast<char>(value));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path dir;
    std::filesystem::path file;
};

TEST_F(MemoryFileTest, SavedMemoryLoadsBackWhole) {
    MouseMemory memory = factoryMemory();
    memory[3] = 0x99;
    memory[1023] = 0x77;
    ASSERT_TRUE(saveMemoryFile(file, memory));
    EXPECT_EQ(std::filesystem::file_size(file), 1024u);
    EXPECT_FALSE(std::filesystem::exists(dir / "mouse.bin.tmp"));
    const MemoryFileOpen loaded = openMemoryFile(file);
    EXPECT_EQ(loaded.state, MemoryFileState::Loaded);
    EXPECT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.memory, memory);
}

TEST_F(MemoryFileTest, AMissingFileIsCreatedWithTheFactoryMemory) {
    const MemoryFileOpen created = openMemoryFile(file);
    EXPECT_EQ(created.state, MemoryFileState::Created);
    EXPECT_EQ(created.memory, factoryMemory());
    EXPECT_EQ(openMemoryFile(file).memory, factoryMemory());

    const std::filesystem::path nowhere = dir / "no-such-folder" / "mouse.bin";
    const MemoryFileOpen refused = openMemoryFile(nowhere);
    EXPECT_EQ(refused.state, MemoryFileState::Unwritable);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.message.rfind(nowhere.string() + ": ", 0), 0u) << refused.message;
}

// Anything but a 1024-byte file is some other file of the user's: refused, named, untouched.
TEST_F(MemoryFileTest, FilesThatCannotBeTheMemoryAreRefusedAndLeftAsTheyAre) {
    const struct {
        std::size_t size;
        MemoryFileState state;
    } cases[] = {{5, MemoryFileState::WrongSize},
                 {0, MemoryFileState::WrongSize},
                 {1023, MemoryFileState::WrongSize},
                 {1025, MemoryFileState::WrongSize},
                 {2292, MemoryFileState::WrongSize}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        writeRaw(c.size, 0x55);
        const MemoryFileOpen opened = openMemoryFile(file);
        EXPECT_EQ(opened.state, c.state);
        EXPECT_FALSE(opened.ok());
        EXPECT_EQ(opened.message.rfind(file.string() + ": holds " + std::to_string(c.size), 0), 0u)
            << opened.message;
        EXPECT_EQ(std::filesystem::file_size(file), c.size);
        EXPECT_FALSE(std::filesystem::exists(dir / "mouse.bin.tmp"));
    }

    const MemoryFileOpen folder = openMemoryFile(dir);
    EXPECT_EQ(folder.state, MemoryFileState::NotAFile);
    EXPECT_EQ(folder.message, dir.string() + ": is a folder, not a file");
    EXPECT_TRUE(std::filesystem::is_directory(dir));
}

TEST_F(MemoryFileTest, AFailedSaveNamesTheUsersFileAndLeavesNothingBehind) {
    const MouseMemory memory = factoryMemory();
    const std::filesystem::path nowhere = dir / "no-such-folder" / "mouse.bin";
    const MemoryFileSave result = saveMemoryFile(nowhere, memory);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.message.rfind(nowhere.string() + ": ", 0), 0u) << result.message;

    // A folder in the way of the rename: the save fails and the temporary file is removed.
    std::filesystem::create_directories(file / "inside");
    const MemoryFileSave blocked = saveMemoryFile(file, memory);
    EXPECT_FALSE(blocked);
    EXPECT_EQ(blocked.message.rfind(file.string() + ": ", 0), 0u) << blocked.message;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file is left beside it";
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

// Symbolic links and file modes are for the systems that have them.
#ifndef _WIN32
TEST_F(MemoryFileTest, OpeningAndSavingTouchOnlyTheFileItThroughALinkWithItsPermissions) {
    ASSERT_TRUE(saveMemoryFile(file, factoryMemory()));
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write);
    const auto link = dir / "link.bin";
    std::filesystem::create_symlink(file, link);
    // The owner's own file of the name a fixed temporary would have.
    const auto own = dir / "mouse.bin.tmp";
    std::ofstream(own) << "mine";

    const MemoryFileOpen opened = openMemoryFile(link);
    ASSERT_EQ(opened.state, MemoryFileState::Loaded) << opened.message;
    MouseMemory changed = opened.memory;
    changed[100] ^= 0xFF;
    ASSERT_TRUE(saveMemoryFile(link, changed));

    EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link stays a link";
    EXPECT_EQ(openMemoryFile(file).memory, changed);
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::ifstream in(own);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "mine");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              3)
        << "no temporary file is left beside them";
}
#endif

#ifndef _WIN32
TEST_F(MemoryFileTest, AFifoIsNeitherOpenedNorReplaced) {
    const auto fifo = dir / "fifo.bin";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(openMemoryFile(fifo).state, MemoryFileState::NotAFile);
    EXPECT_FALSE(saveMemoryFile(fifo, factoryMemory()));
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
}
#endif

}  // namespace
}  // namespace kvr
