#include "cycle/device_macros.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "cycle/macro_cycle_fixture.h"
#include "macros/default_library.h"
#include "macros/macro_links.h"
#include "params/checksum.h"

namespace kvr {
namespace {

PCMacroSlot libraryEntry(const std::string& name) {
    for (const PCMacroSlot& slot : buildDefaultLibrary()) {
        if (macroNameText(slot.name) == name) return slot;
    }
    ADD_FAILURE() << "no built-in macro " << name;
    return {};
}

// The record a library entry becomes in the mouse: name, then content bytes 0..L.
std::vector<std::uint8_t> record(const PCMacroSlot& slot) {
    std::vector<std::uint8_t> bytes(slot.name.begin(), slot.name.end());
    const auto content = macroBytes(slot.content);
    bytes.insert(bytes.end(), content.begin(), content.end());
    return bytes;
}

ButtonCode profileCode(std::span<const std::uint8_t> memory, int button) {
    const std::size_t at = 64 + static_cast<std::size_t>(button - 1) * 3;
    return {memory[at], memory[at + 1], memory[at + 2]};
}

class DeviceMacrosTest : public test::MacroCycleTest {
protected:
    // Button `button` runs device macro `index`, chosen from the button page's macro list.
    void giveMacroToButton(int button, std::size_t index) {
        buttons.selectButton(button);
        LB_NameClick(buttons, cycle.dataBuf(), macros.table(), index, macros.macroSupport());
    }
    bool profileChecksumHolds() { return blockChecksum(memory(64, 27)) == memory(64, 28)[27]; }
};

TEST_F(DeviceMacrosTest, AddToMouseWritesTheProfileBlockAndTheMacroArea) {
    connectAndRead();
    const PCMacroSlot copy = libraryEntry("Copy");

    const AddToMouseOutcome outcome = macros.Btn_AddMacroClick(copy);

    EXPECT_EQ(outcome.result, AddMacroResult::Added);
    EXPECT_EQ(outcome.write, WriteResult::Written);
    const auto bytes = record(copy);
    EXPECT_TRUE(std::ranges::equal(memory(512, bytes.size()), bytes));
    EXPECT_TRUE(std::ranges::all_of(memory(512 + bytes.size(), 512 - bytes.size()),
                                    [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(requests(), macroWrite());
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"timerOff", "showShields", "showBusy", "hideBusy",
                                                  "timerOn", "hideShields"}));
    EXPECT_FALSE(cycle.macroDirty());
    EXPECT_EQ(macros.table().names(), std::vector<std::string>{"Copy"});
}

TEST_F(DeviceMacrosTest, DeletingAMacroMovesTheButtonsThatFollowIt) {
    connectAndRead();
    ASSERT_EQ(macros.Btn_AddMacroClick(libraryEntry("Copy")).write, WriteResult::Written);
    ASSERT_EQ(macros.Btn_AddMacroClick(libraryEntry("Paste")).write, WriteResult::Written);
    const std::uint16_t pasteAt = *macros.table().address(1);
    ASSERT_EQ(pasteAt, 528 + record(libraryEntry("Copy")).size());
    giveMacroToButton(3, 0);
    giveMacroToButton(4, 1);
    ASSERT_EQ(macros.Btn_SaveMacroClick(), WriteResult::Written);
    EXPECT_EQ(profileCode(memory(0, 1024), 3), macroCode(528));
    EXPECT_EQ(profileCode(memory(0, 1024), 4), macroCode(pasteAt));
    clearRecords();

    EXPECT_EQ(macros.Btn_DelMacroClick(0), WriteResult::Written);

    // Button 3 lost its macro and is the right button again; button 4 follows Paste down.
    EXPECT_EQ(buttons.caption(3), "Right Key");
    EXPECT_EQ(buttons.codeText(3), "010200");
    EXPECT_EQ(buttons.codeText(4), "060210");
    EXPECT_EQ(profileCode(memory(0, 1024), 3), (ButtonCode{1, 2, 0}));
    EXPECT_EQ(profileCode(memory(0, 1024), 4), macroCode(528));
    EXPECT_TRUE(profileChecksumHolds());
    const auto paste = record(libraryEntry("Paste"));
    EXPECT_TRUE(std::ranges::equal(memory(512, paste.size()), paste));
    EXPECT_EQ(requests(), macroWrite());
    EXPECT_FALSE(macros.Btn_DelMacroClick(1)) << "nothing at index 1 any more";
}

TEST_F(DeviceMacrosTest, EveryButtonFallsBackToItsOwnFunctionWhenItsMacroGoes) {
    connectAndRead();
    ASSERT_EQ(macros.Btn_AddMacroClick(libraryEntry("Undo")).result, AddMacroResult::Added);
    for (int button = 1; button <= 9; ++button) giveMacroToButton(button, 0);
    buttons.setRepeatText("5");
    buttons.setDelayText("40");

    ASSERT_EQ(macros.Btn_DelMacroClick(0), WriteResult::Written);

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Left Key", "010100"}, {"Middle Key", "010400"}, {"Right Key", "010200"},
        {"Backward", "010800"}, {"Forward", "011000"},    {"DPI", "050000"},
        {"Fire Key", "040A28"}, {"Win+D", "020807"},      {"LED Switch", "090000"}};
    for (int button = 1; button <= 9; ++button) {
        SCOPED_TRACE(button);
        const auto& [caption, code] = expected[static_cast<std::size_t>(button - 1)];
        EXPECT_EQ(buttons.caption(button), caption);
        EXPECT_EQ(buttons.codeText(button), code);
        EXPECT_EQ(codeText(profileCode(memory(0, 1024), button)), code);
    }
    EXPECT_TRUE(profileChecksumHolds());
}

TEST_F(DeviceMacrosTest, AMacroThatDoesNotFitIsRefusedWithoutATransfer) {
    connectAndRead();
    PCMacroSlot big = libraryEntry("Copy");
    MacroLines lines{"00"};
    for (int i = 0; i < 127; ++i) lines.push_back(i % 2 ? "2 A CODE:0204" : "1 A CODE:8204");
    big.content = CompileMacroLines(lines)->content;  // a record of 272 bytes
    ASSERT_EQ(macros.Btn_AddMacroClick(big).result, AddMacroResult::Added);
    const std::vector<std::uint8_t> before(memory(512, 512).begin(), memory(512, 512).end());
    clearRecords();

    const AddToMouseOutcome outcome = macros.Btn_AddMacroClick(big);

    EXPECT_EQ(outcome.result, AddMacroResult::AreaFull);
    EXPECT_FALSE(outcome.write);
    EXPECT_TRUE(requests().empty());
    EXPECT_TRUE(std::ranges::equal(memory(512, 512), before));
    EXPECT_TRUE(std::ranges::equal(cycle.images().macroArea.bytes, before));
}

TEST_F(DeviceMacrosTest, AMouseWithoutMacroMemoryIsLeftAlone) {
    mouse->memory()[42] = 2;  // the capability byte: no macros
    setChecksum(mouse->memory().first(64), 37);
    connectAndRead();
    ASSERT_FALSE(cycle.macroSupport());

    EXPECT_EQ(macros.Btn_AddMacroClick(libraryEntry("Copy")).result, AddMacroResult::NoFreeSlot);
    EXPECT_FALSE(macros.Btn_DelMacroClick(0));
    EXPECT_TRUE(requests().empty());
}

TEST_F(DeviceMacrosTest, AMacroWriteTheMouseDidNotTakeStaysPending) {
    connectAndRead();
    mouse->setReady(false);

    const AddToMouseOutcome outcome = macros.Btn_AddMacroClick(libraryEntry("Copy"));

    EXPECT_EQ(outcome.write, WriteResult::NotReady);
    EXPECT_TRUE(cycle.macroDirty()) << "the next Apply writes the macro area";
    test::Requests expected;
    test::addCommand(expected, BeginCmd);
    test::addCommand(expected, StatusCmd);
    test::addCommand(expected, EndCmd);
    EXPECT_EQ(requests(), expected);
}

TEST_F(DeviceMacrosTest, AMouseThatWasNotReadIsNotWritten) {
    connectAndRead();
    ASSERT_EQ(macros.Btn_AddMacroClick(libraryEntry("Copy")).write, WriteResult::Written);
    clearRecords();
    cycle.forgetMouse();

    EXPECT_EQ(macros.Btn_SaveMacroClick(), WriteResult::Refused);
    EXPECT_TRUE(requests().empty());
    EXPECT_TRUE(cycle.macroDirty());
    EXPECT_EQ(macros.Btn_AddMacroClick(libraryEntry("Paste")).result, AddMacroResult::NoFreeSlot)
        << "nothing is added while the mouse's macro memory is unknown";
}

TEST_F(DeviceMacrosTest, AReadShowsButtonsThatRunAMacroByTheMacrosName) {
    const auto bytes = record(libraryEntry("Find"));
    std::ranges::copy(bytes, memory(512, 512).begin());
    memory(64, 28)[6] = 0x06;
    memory(64, 28)[7] = 0x02;
    memory(64, 28)[8] = 0x10;
    setChecksum(memory(64, 28), 27);

    connectAndRead();

    EXPECT_EQ(macros.table().names(), std::vector<std::string>{"Find"});
    EXPECT_EQ(buttons.caption(3), "Find");
    EXPECT_EQ(buttons.codeText(3), "060210");
}

}  // namespace
}  // namespace kvr
