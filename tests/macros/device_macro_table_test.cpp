#include "macros/device_macro_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "params/checksum.h"

namespace kvr {
namespace {

using Area = std::array<std::uint8_t, kDeviceMacroAreaSize>;

// A sound macro whose record is `recordSize` bytes: key presses filling L - 1 event bytes.
MacroContent macroOfRecordSize(std::size_t recordSize) {
    const std::size_t length = recordSize - kMacroRecordOverhead;
    MacroContent c{};
    c[0] = static_cast<std::uint8_t>(length);
    for (std::size_t i = 1; i < length; ++i) c[i] = (i % 2) ? 0x82 : 0x04;
    setChecksum(c, length);
    return c;
}

// Records packed from the area's start, as the mouse keeps them.
class AreaBuilder {
public:
    AreaBuilder& record(const std::string& name, const MacroContent& content) {
        const MacroName n = MacroNameStrToUnicode(name);
        std::ranges::copy(n, area.begin() + static_cast<long>(at));
        const std::size_t length = content[0];
        std::copy_n(content.begin(), length + 1, area.begin() + static_cast<long>(at + 16));
        at += length + kMacroRecordOverhead;
        return *this;
    }
    Area area{};
    std::size_t at = 0;
};

std::vector<std::uint16_t> addresses(const DeviceMacroTable& table) {
    std::vector<std::uint16_t> list;
    for (std::size_t i = 0; i < table.count(); ++i) list.push_back(*table.address(i));
    return list;
}

TEST(DeviceMacroTable, AddressesFollowTheRecordsAndShrinkAfterADelete) {
    AreaBuilder b;
    b.record("A", macroOfRecordSize(40))
        .record("B", macroOfRecordSize(60))
        .record("C", macroOfRecordSize(30));
    Area area = b.area;
    DeviceMacroTable table;
    table.ReadAndRefreshMacro2(area);
    EXPECT_EQ(table.names(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(addresses(table), (std::vector<std::uint16_t>{528, 568, 628}));
    EXPECT_EQ(table.totalSize(), 130);
    EXPECT_EQ(area, b.area) << "a sound area packs to the same bytes";
    EXPECT_EQ(table.nameAt(568), "B");
    EXPECT_FALSE(table.nameAt(569));

    ASSERT_TRUE(table.remove(0, area));
    EXPECT_EQ(table.names(), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(addresses(table), (std::vector<std::uint16_t>{528, 588}));
    AreaBuilder moved;
    moved.record("B", macroOfRecordSize(60)).record("C", macroOfRecordSize(30));
    EXPECT_EQ(area, moved.area);
    EXPECT_FALSE(table.remove(2, area));
}

TEST(DeviceMacroTable, AZeroLengthByteEndsTheList) {
    AreaBuilder b;
    b.record("A", macroOfRecordSize(20)).record("B", macroOfRecordSize(20));
    b.at += 16;  // slot 2: a name with length byte 0
    b.record("D", macroOfRecordSize(20));
    Area area = b.area;
    DeviceMacroTable table;
    table.ReadAndRefreshMacro2(area);
    EXPECT_EQ(table.names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(std::all_of(area.begin() + 40, area.end(), [](std::uint8_t x) { return x == 0; }));
}

TEST(DeviceMacroTable, ARecordWithABadChecksumKeepsItsNameAsTheEmptyMacro) {
    AreaBuilder b;
    b.record("Bad", macroOfRecordSize(30)).record("Good", macroOfRecordSize(25));
    b.area[16 + 5] ^= 0x01;
    Area area = b.area;
    DeviceMacroTable table;
    table.ReadAndRefreshMacro2(area);
    EXPECT_EQ(table.names(), (std::vector<std::string>{"Bad", "Good"}));
    EXPECT_EQ(table.slot(0).content, emptyMacroContent());
    EXPECT_EQ(table.slot(0).size, 33);
    EXPECT_EQ(addresses(table), (std::vector<std::uint16_t>{528, 561}));

    // Read again from the mouse, the 33-byte empty record still has the good one after it.
    Area again = area;
    DeviceMacroTable reread;
    reread.ReadAndRefreshMacro2(again);
    EXPECT_EQ(reread.names(), (std::vector<std::string>{"Bad", "Good"}));
    EXPECT_EQ(reread.slot(1).content, macroOfRecordSize(25));
    EXPECT_EQ(again, area);
}

TEST(DeviceMacroTable, ARecordRunningPastTheAreaEndsTheList) {
    AreaBuilder b;
    for (int i = 0; i < 4; ++i) b.record("M" + std::to_string(i), macroOfRecordSize(100));
    std::ranges::copy(MacroNameStrToUnicode("E"), b.area.begin() + 400);
    b.area[416] = 200;  // 400 + 217 bytes: past the end
    Area area = b.area;
    DeviceMacroTable table;
    table.ReadAndRefreshMacro2(area);
    EXPECT_EQ(table.count(), 4u);
    EXPECT_EQ(table.totalSize(), 400);

    // A name in the last 16 bytes leaves no room for a length byte.
    AreaBuilder full;
    for (int i = 0; i < 4; ++i) full.record("M", macroOfRecordSize(124));
    std::ranges::copy(MacroNameStrToUnicode("X"), full.area.begin() + 496);
    table.ReadAndRefreshMacro2(full.area);
    EXPECT_EQ(table.count(), 4u);
}

TEST(DeviceMacroTable, AddingPacksTheEntryOrRefusesWhatDoesNotFit) {
    Area area{};
    DeviceMacroTable table;
    table.ReadAndRefreshMacro2(area);

    // L = 255: the record is L + 17 bytes although the content has no three zero bytes.
    EXPECT_EQ(table.add(MacroNameStrToUnicode("Long"), macroOfRecordSize(272), area),
              AddMacroResult::Added);
    EXPECT_EQ(table.slot(0).size, 272);
    const Area before = area;
    EXPECT_EQ(table.add(MacroNameStrToUnicode("Long2"), macroOfRecordSize(271), area),
              AddMacroResult::AreaFull);
    EXPECT_EQ(area, before);
    EXPECT_EQ(table.names(), std::vector<std::string>{"Long"});
    // Exactly 512 bytes fit.
    EXPECT_EQ(table.add(MacroNameStrToUnicode("Fits"), macroOfRecordSize(240), area),
              AddMacroResult::Added);
    EXPECT_EQ(table.totalSize(), 512);
    EXPECT_EQ(table.slot(1).address, 528 + 272);
    EXPECT_EQ(table.slot(1).content, macroOfRecordSize(240));
}

TEST(DeviceMacroTable, AnUnrecordedEntryGoesInAsTheEmptyMacro) {
    Area area{};
    DeviceMacroTable table;
    EXPECT_EQ(table.add(MacroNameStrToUnicode("New"), MacroContent{}, area), AddMacroResult::Added);
    EXPECT_EQ(table.add(MacroNameStrToUnicode("After"), macroOfRecordSize(20), area),
              AddMacroResult::Added);
    EXPECT_EQ(table.names(), (std::vector<std::string>{"New", "After"}));
    EXPECT_EQ(table.slot(0).size, 33);
    EXPECT_EQ(table.slot(0).content, emptyMacroContent());
    EXPECT_EQ(table.slot(1).address, 528 + 33);
}

TEST(DeviceMacroTable, NothingIsAddedToFifteenMacros) {
    Area area{};
    DeviceMacroTable table;
    for (int i = 0; i < 15; ++i) {
        ASSERT_EQ(
            table.add(MacroNameStrToUnicode("M" + std::to_string(i)), macroOfRecordSize(20), area),
            AddMacroResult::Added);
    }
    const Area before = area;
    EXPECT_EQ(table.add(MacroNameStrToUnicode("One more"), macroOfRecordSize(20), area),
              AddMacroResult::NoFreeSlot);
    EXPECT_EQ(area, before);
    EXPECT_EQ(table.count(), 15u);
}

}  // namespace
}  // namespace kvr
