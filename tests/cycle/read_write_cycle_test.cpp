#include "cycle/read_write_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/resources.h"
#include "device/command_protocol.h"
#include "device/device_fixture.h"
#include "device/device_link.h"
#include "device/emulated_mouse.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"
#include "params/checksum.h"
#include "support/english_texts.h"

namespace kvr {
namespace {

using Requests = std::vector<CommandReport>;
using test::report;

// The window's side of a transfer, as a list of calls; each call also notes how many requests
// the mouse had received by then.
class RecordingUi final : public TransferUi {
public:
    void hideAllMenu() override { record("hideAllMenu"); }
    void setPresenceTimerEnabled(bool enabled) override {
        record(enabled ? "timerOn" : "timerOff");
    }
    void showInputShields() override { record("showShields"); }
    void hideInputShields() override { record("hideShields"); }
    void showBusy() override { record("showBusy"); }
    void hideBusy() override { record("hideBusy"); }
    void pump() override { record("pump"); }
    void showIdentityError() override { record("identityError"); }
    void showWrongVariant() override { record("wrongVariant"); }
    void refreshErrorAP() override { record("refreshErrorAP"); }
    void showMacroButtons() override { record("showMacroButtons"); }
    void refreshPcMacroNames() override { record("refreshPcMacroNames"); }
    void refreshDeviceMacroList() override { record("refreshDeviceMacroList"); }
    void refreshPointerSettings() override { record("refreshPointerSettings"); }
    void applyPointerSettings() override { record("applyPointerSettings"); }
    void clearMacroTexts() override { record("clearMacroTexts"); }
    void showFirstPage() override { record("showFirstPage"); }
    void showMainPageAfterRead() override { record("showMainPageAfterRead"); }
    void reportIncompleteWrite() override { record("incompleteWrite"); }

    // Requests the mouse had received at the first call of that name; -1 when never called.
    int requestsAt(const std::string& call) const {
        const auto it = std::ranges::find(calls, call);
        return it == calls.end() ? -1 : at[static_cast<std::size_t>(it - calls.begin())];
    }
    void clear() {
        calls.clear();
        at.clear();
    }

    std::vector<std::string> calls;
    std::vector<int> at;
    std::function<int()> requestCount;

private:
    void record(const char* call) {
        calls.emplace_back(call);
        at.push_back(requestCount ? requestCount() : 0);
    }
};

class NoReaction final : public PresenceHandler {
public:
    void noDeviceFound() override {}
    void readDevInfo() override {}
    void wrongVariant() override {}
};

// Stands between the bus and the mouse so a test can spoil the status reply's tag byte.
class MouseSocket final : public VirtualHidDevice {
public:
    explicit MouseSocket(std::shared_ptr<EmulatedMouse> m) : mouse(std::move(m)) {}
    bool setFeature(std::span<const std::uint8_t> r) override {
        lastCommand = r.size() > 1 ? r[1] : 0;
        return mouse->setFeature(r);
    }
    bool getFeature(std::span<std::uint8_t> r) override {
        const bool ok = mouse->getFeature(r);
        if (ok && spoilStatusTag && lastCommand == StatusCmd) r[1] = 0x55;
        return ok;
    }
    std::shared_ptr<EmulatedMouse> mouse;
    std::uint8_t lastCommand = 0;
    bool spoilStatusTag = false;
};

// Expected requests, built from the memory map independently of the code under test.
void addRead(Requests& r, std::uint16_t address, std::uint16_t length) {
    r.push_back(
        report({4, ReadStartCmd, static_cast<std::uint8_t>(address & 0xFF),
                static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(length & 0xFF),
                static_cast<std::uint8_t>(length >> 8)}));
    for (std::size_t i = 0; i < chunkCount(length); ++i) r.push_back(report({4, ReadNextCmd}));
}

// `bytes` are the chunks' data; padding past them is 0.
void addWrite(Requests& r, std::uint16_t address, std::uint16_t length,
              std::span<const std::uint8_t> bytes) {
    r.push_back(
        report({4, WriteStartCmd, static_cast<std::uint8_t>(address & 0xFF),
                static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(length & 0xFF),
                static_cast<std::uint8_t>(length >> 8)}));
    for (std::size_t i = 0; i < chunkCount(length); ++i) {
        CommandReport chunk = report({4, WriteNextCmd});
        for (std::size_t b = 0; b < kChunkSize; ++b) {
            const std::size_t at = i * kChunkSize + b;
            chunk.bytes[2 + b] = at < bytes.size() ? bytes[at] : 0;
        }
        r.push_back(chunk);
    }
}

void addCommand(Requests& r, std::uint8_t command) { r.push_back(report({4, command})); }

std::vector<std::uint8_t> commandsOf(const Requests& requests) {
    std::vector<std::uint8_t> commands;
    for (const CommandReport& r : requests) commands.push_back(r[1]);
    return commands;
}

std::vector<std::uint8_t> builtInImage() {
    const auto resource = findResource(kDefaultImageResource);
    if (!resource) return {};
    return {resource->begin(), resource->end()};
}

// A variant 2 default image: the variant 2 template, the shared tail with macros and identity
// FF FF, the default profile and an empty macro area.
std::vector<std::uint8_t> variant2Image() {
    const std::vector<std::uint8_t> v1 = builtInImage();
    std::vector<std::uint8_t> image(kParamTemplateV2.begin(), kParamTemplateV2.end());
    image.push_back(blockChecksum(image));
    for (std::uint8_t b : {0x01, 0xFE, 0x06, 0xF9, 0x0A, 0xFF, 0xFF}) image.push_back(b);
    image.insert(image.end(), v1.begin() + 45, v1.begin() + 45 + 28);
    image.resize(image.size() + kMacroAreaSize, 0);
    return image;
}

std::vector<std::uint8_t> macroPattern() {
    std::vector<std::uint8_t> pattern(kMacroAreaSize);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        pattern[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return pattern;
}

// The cycle alone, without the mouse's macro table: the macro areas here are byte patterns the
// table would repack, and some cases swap the default image under a link that stays open.
class CycleTest : public testing::Test {
protected:
    void SetUp() override {
        image = builtInImage();
        ASSERT_EQ(image.size(), 585u);
        ui.requestCount = [this] { return mouse->requestCount(); };
    }

    ReadWriteCycle& cycle() {
        if (!cycle_) {
            cycle_ = std::make_unique<ReadWriteCycle>(
                image, link, protocol, PageModels{sensitivity, light, buttons}, naming, ui);
            link.setImageVariant(cycle_->imageVariant());
        }
        return *cycle_;
    }

    // Start-up with the defaults, then the mouse arrives and the presence tick opens it.
    void connect() {
        cycle().InitNoDevice();
        socket = std::make_shared<MouseSocket>(mouse);
        bus.plug(
            {.info = mouse->interfaceInfo(test::kMousePath), .openable = true, .device = socket});
        link.DevTimerTimer();
        ASSERT_TRUE(link.hasDevice());
        ASSERT_NE(link.deviceVariant(), 0);
        clearRecords();
    }

    // Connects and reads the mouse.
    void connectAndRead() {
        connect();
        ASSERT_EQ(cycle().ReadDevInfo(), DevInfoResult::Read);
        clearRecords();
    }

    void clearRecords() {
        mouse->clearWireLog();
        ui.clear();
    }

    Requests requests() const { return mouse->requests(); }
    const MouseMemory& wholeMemory() const { return std::as_const(*mouse).memory(); }
    std::span<std::uint8_t> memory(std::size_t at, std::size_t length) {
        return mouse->memory().subspan(at, length);
    }

    std::vector<std::uint8_t> image;
    std::shared_ptr<EmulatedMouse> mouse = std::make_shared<EmulatedMouse>();
    std::shared_ptr<MouseSocket> socket;
    VirtualBus bus;
    VirtualPacer pacer;
    NoReaction presence;
    DeviceLink link{bus, pacer, presence};
    CommandProtocol protocol{link, pacer};
    CodeNaming naming{.texts = test::englishLookup(), .macroNameAt = {}};
    SensitivityModel sensitivity{test::englishLookup()};
    LightModel light;
    ButtonModel buttons;
    RecordingUi ui;
    std::unique_ptr<ReadWriteCycle> cycle_;
};

// Begin, status, the identity and capability reads of ReadDevInfo.
Requests identityCheck(std::uint16_t identityAt, std::uint16_t capabilityAt) {
    Requests r;
    addCommand(r, BeginCmd);
    addCommand(r, StatusCmd);
    addRead(r, identityAt, 2);
    addRead(r, capabilityAt, 1);
    return r;
}

void addFullRead(Requests& r, std::uint16_t paramLength, bool macros) {
    addRead(r, 0, paramLength);
    addRead(r, 64, 28);
    if (macros) {
        addRead(r, 512, 255);
        addRead(r, 767, 1);
        addRead(r, 768, 255);
        addRead(r, 1023, 1);
    }
    addCommand(r, SystemReloadCmd);
    addCommand(r, EndCmd);
}

TEST_F(CycleTest, StartUpShowsTheDefaultsWithoutAMouse) {
    cycle().InitNoDevice();
    EXPECT_EQ(cycle().deviceMacroCapability(), 0);
    EXPECT_EQ(cycle().programMacroCapability(), 10);
    EXPECT_FALSE(cycle().macroDirty());
    EXPECT_TRUE(std::ranges::equal(cycle().images().paramV1.used(), std::span(image).first(45)));
    EXPECT_EQ(buttons.codeText(7), "040420");
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"refreshDeviceMacroList", "showFirstPage"}));
}

TEST_F(CycleTest, NewMouseWithMacrosIsIdentifiedAndReadWhole) {
    const auto pattern = macroPattern();
    std::ranges::copy(pattern, memory(512, 512).begin());
    // Three levels in use, with a valid checksum, so the pages must show the mouse's value.
    memory(0, 64)[1] = 3;
    setChecksum(memory(0, 64), 37);
    connect();

    EXPECT_EQ(cycle().ReadDevInfo(), DevInfoResult::Read);

    Requests expected = identityCheck(0x2B, 0x2A);
    addFullRead(expected, 45, true);
    const Requests sent = requests();
    EXPECT_EQ(sent, expected);
    ASSERT_EQ(sent.size(), 2u + 4u + 107u + 2u);
    EXPECT_EQ(sent[2], report({4, 4, 0x2B, 0x00, 0x02}));
    EXPECT_EQ(sent[4], report({4, 4, 0x2A, 0x00, 0x01}));
    EXPECT_EQ(sent[sent.size() - 2], report({4, 8}));
    EXPECT_EQ(sent.back(), report({4, 2}));

    EXPECT_TRUE(std::ranges::equal(cycle().images().macroArea.bytes, pattern));
    EXPECT_EQ(cycle().deviceMacroCapability(), 10);
    EXPECT_EQ(sensitivity.levelsInUse(), 3);
    EXPECT_EQ(ui.calls, (std::vector<std::string>{
                            "showMacroButtons", "timerOff", "showShields", "showBusy", "pump",
                            "refreshPcMacroNames", "refreshDeviceMacroList", "showFirstPage",
                            "refreshPointerSettings", "showMainPageAfterRead", "pump", "hideBusy",
                            "pump", "timerOn", "hideShields"}));
    EXPECT_EQ(ui.requestsAt("showBusy"), 6) << "busy before the first block";
    EXPECT_EQ(ui.requestsAt("hideBusy"), static_cast<int>(sent.size()));
}

TEST_F(CycleTest, Variant2MouseIsReadAtItsOwnAddresses) {
    image = variant2Image();
    MouseMemory memory2 = factoryMemory();
    std::ranges::copy(std::span(image).first(38), memory2.begin());
    mouse = std::make_shared<EmulatedMouse>(2, memory2);
    connect();
    ASSERT_EQ(link.deviceVariant(), 2);

    EXPECT_EQ(cycle().ReadDevInfo(), DevInfoResult::Read);

    Requests expected = identityCheck(0x24, 0x23);
    addFullRead(expected, 38, true);
    const Requests sent = requests();
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(sent[2], report({4, 4, 0x24, 0x00, 0x02}));
    EXPECT_EQ(sent[4], report({4, 4, 0x23, 0x00, 0x01}));
    EXPECT_EQ(sent[6], report({4, 4, 0x00, 0x00, 0x26}));
    EXPECT_EQ(std::ranges::count(sent.begin() + 7, sent.begin() + 15, report({4, ReadNextCmd})), 7);
    EXPECT_TRUE(std::ranges::equal(cycle().images().paramV2.used(), std::span(image).first(38)));
}

// A mouse without macro memory, or with an unknown capability byte, is still read: parameter
// and profile blocks only.
TEST_F(CycleTest, MouseWithoutMacroMemoryIsReadWithoutItsMacroArea) {
    for (const std::uint8_t capability : {std::uint8_t{2}, std::uint8_t{0x37}}) {
        SCOPED_TRACE(static_cast<int>(capability));
        mouse = std::make_shared<EmulatedMouse>();
        memory(0, 64)[42] = capability;
        cycle_.reset();
        bus.unplug(test::kMousePath);
        link.DevTimerTimer();
        connect();

        EXPECT_EQ(cycle().ReadDevInfo(), DevInfoResult::Read);
        Requests expected = identityCheck(0x2B, 0x2A);
        addFullRead(expected, 45, false);
        EXPECT_EQ(requests(), expected);
        EXPECT_EQ(cycle().deviceMacroCapability(), capability == 2 ? 2 : 0);
        EXPECT_EQ(ui.requestsAt("showMacroButtons"), -1);
        EXPECT_EQ(ui.requestsAt("refreshDeviceMacroList"), -1);
        EXPECT_EQ(ui.calls.back(), "hideShields");
    }
}

TEST_F(CycleTest, MacroMouseWithAProgramWithoutMacrosIsNotRead) {
    image[42] = 2;
    connect();

    EXPECT_EQ(cycle().ReadDevInfo(), DevInfoResult::WrongVariant);

    Requests expected = identityCheck(0x2B, 0x2A);
    addCommand(expected, EndCmd);
    EXPECT_EQ(requests(), expected);
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"wrongVariant", "refreshErrorAP"}));
    EXPECT_TRUE(link.hasDevice());
}

struct IdentityCase {
    const char* name;
    std::uint8_t manufacturer, product;
    int reserveManufacturer, reserveProduct;
    bool passes;
};

TEST_F(CycleTest, IdentityPassesWithTheImageOrTheReserveIdentity) {
    const IdentityCase cases[] = {
        {"image identity", 0xFF, 0xFF, 0, 0, true},
        {"zero identity, shipped reserve", 0x00, 0x00, 0, 0, true},
        {"configured reserve", 0x12, 0x34, 0x12, 0x34, true},
        {"neither", 0x12, 0x34, 0, 0, false},
        {"one byte of each pair", 0xFF, 0x00, 0, 0, false},
    };
    for (const IdentityCase& c : cases) {
        SCOPED_TRACE(c.name);
        mouse = std::make_shared<EmulatedMouse>();
        memory(0, 64)[43] = c.manufacturer;
        memory(0, 64)[44] = c.product;
        cycle_.reset();
        bus.unplug(test::kMousePath);
        link.DevTimerTimer();
        cycle().setReserveIdentity(c.reserveManufacturer, c.reserveProduct);
        connect();

        const DevInfoResult result = cycle().ReadDevInfo();
        if (c.passes) {
            EXPECT_EQ(result, DevInfoResult::Read);
            continue;
        }
        EXPECT_EQ(result, DevInfoResult::IdentityError);
        Requests expected;
        addCommand(expected, BeginCmd);
        addCommand(expected, StatusCmd);
        addRead(expected, 0x2B, 2);
        addCommand(expected, EndCmd);
        EXPECT_EQ(requests(), expected);
        EXPECT_EQ(ui.calls, (std::vector<std::string>{"timerOff", "identityError", "timerOn"}));
        EXPECT_EQ(ui.requestsAt("identityError"), 5) << "EndCmd before the box";
        EXPECT_TRUE(link.hasDevice()) << "the mouse stays open";
    }
}

TEST_F(CycleTest, ApplyWithoutAMacroChangeWritesParameterAndProfileBlocks) {
    connectAndRead();
    const int before = mouse->requestCount();

    EXPECT_EQ(cycle().DownloadParameter(), WriteResult::Written);

    // The pages hold the mouse's settings unchanged; padding comes from the images' room, which
    // the read filled from the memory behind each block.
    EXPECT_EQ(wholeMemory(), factoryMemory());
    Requests expected;
    addCommand(expected, BeginCmd);
    addCommand(expected, StatusCmd);
    addWrite(expected, 0, 45, memory(0, 48));
    addWrite(expected, 64, 28, memory(64, 30));
    addCommand(expected, SystemReloadCmd);
    addCommand(expected, EndCmd);
    EXPECT_EQ(requests(), expected);
    EXPECT_EQ(ui.calls,
              (std::vector<std::string>{"hideAllMenu", "timerOff", "showShields", "showBusy",
                                        "pump", "showBusy", "pump", "applyPointerSettings",
                                        "hideBusy", "pump", "timerOn", "hideShields"}));
    EXPECT_EQ(ui.requestsAt("showBusy"), before);
    EXPECT_EQ(ui.requestsAt("hideBusy"), before + static_cast<int>(expected.size()));
}

TEST_F(CycleTest, ApplyAfterAMacroChangeWritesTheMacroAreaInTwoHalves) {
    connectAndRead();
    const auto pattern = macroPattern();
    std::ranges::copy(pattern, cycle().images().macroArea.bytes.begin());
    cycle().setMacroDirty(true);
    light.setTimeText(TimeField::OffTime, "9");

    EXPECT_EQ(cycle().DownloadParameter(), WriteResult::Written);

    EXPECT_TRUE(std::ranges::equal(memory(512, 512), pattern));
    EXPECT_EQ(memory(0, 64)[28], 9);
    EXPECT_EQ(blockChecksum(memory(0, 37)), memory(0, 64)[37]);
    EXPECT_FALSE(cycle().macroDirty());
    Requests expected;
    addCommand(expected, BeginCmd);
    addCommand(expected, StatusCmd);
    addWrite(expected, 0, 45, memory(0, 48));
    addWrite(expected, 64, 28, memory(64, 30));
    addWrite(expected, 512, 256, std::span(pattern).first(256));
    addWrite(expected, 768, 256, std::span(pattern).subspan(256));
    addCommand(expected, SystemReloadCmd);
    addCommand(expected, EndCmd);
    EXPECT_EQ(requests(), expected);
    EXPECT_EQ(requests()[2 + 9 + 6], report({4, 6, 0x00, 0x02, 0x00, 0x01}));
}

TEST_F(CycleTest, ResetWritesTheFactorySettingsAndTheWholeMacroArea) {
    std::ranges::copy(macroPattern(), memory(512, 512).begin());
    memory(0, 64)[1] = 2;
    setChecksum(memory(0, 64), 37);
    connectAndRead();
    ASSERT_EQ(sensitivity.levelsInUse(), 2);
    cycle().setMacroDirty(true);

    EXPECT_EQ(cycle().DefaultParameter(), WriteResult::Written);

    EXPECT_EQ(wholeMemory(), factoryMemory());
    EXPECT_EQ(sensitivity.levelsInUse(), 4);
    EXPECT_TRUE(cycle().macroDirty()) << "Reset leaves the flag alone";
    const std::vector<std::uint8_t> zeros(256, 0);
    Requests expected;
    addCommand(expected, BeginCmd);
    addCommand(expected, StatusCmd);
    addWrite(expected, 0, 45, memory(0, 48));
    addWrite(expected, 64, 28, memory(64, 30));
    addWrite(expected, 512, 256, zeros);
    addWrite(expected, 768, 256, zeros);
    addCommand(expected, SystemReloadCmd);
    addCommand(expected, EndCmd);
    EXPECT_EQ(requests(), expected);
    EXPECT_EQ(ui.calls, (std::vector<std::string>{
                            "hideAllMenu", "timerOff", "showShields", "showBusy", "pump",
                            "clearMacroTexts", "refreshDeviceMacroList", "showBusy", "pump",
                            "showFirstPage", "hideBusy", "pump", "timerOn", "hideShields"}));
}

// Faults of the status exchange, for every operation that opens one.
struct BracketFault {
    const char* name;
    std::function<void(EmulatedMouse&, MouseSocket&)> arm;
    std::vector<std::uint8_t> commands;  // what the mouse receives
};

TEST_F(CycleTest, ExchangeThatDoesNotOpenSendsNothingElse) {
    const std::vector<std::uint8_t> beginTries(10, BeginCmd);
    std::vector<std::uint8_t> statusTries(11, StatusCmd);
    statusTries[0] = BeginCmd;
    const BracketFault faults[] = {
        {"BeginCmd unanswered", [](EmulatedMouse& m, MouseSocket&) { m.refuseNext(10, 0x01); },
         beginTries},
        {"StatusCmd unanswered",
         [](EmulatedMouse& m, MouseSocket&) { m.refuseRequests(m.requestCount() + 2, 10, 0x01); },
         statusTries},
        {"status tag not AA",
         [](EmulatedMouse&, MouseSocket& s) { s.spoilStatusTag = true; },
         {BeginCmd, StatusCmd}},
        {"not ready",
         [](EmulatedMouse& m, MouseSocket&) { m.setReady(false); },
         {BeginCmd, StatusCmd, EndCmd}},
    };
    for (const BracketFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        mouse = std::make_shared<EmulatedMouse>();
        cycle_.reset();
        bus.unplug(test::kMousePath);
        link.DevTimerTimer();
        connectAndRead();
        const std::vector<std::uint8_t> before(mouse->memory().begin(), mouse->memory().end());
        const auto sameMemory = [&] { return std::ranges::equal(mouse->memory(), before); };
        cycle().setMacroDirty(true);
        light.setTimeText(TimeField::OffTime, "9");

        fault.arm(*mouse, *socket);
        const WriteResult applied = cycle().DownloadParameter();
        EXPECT_EQ(commandsOf(requests()), fault.commands) << "Apply";
        EXPECT_TRUE(sameMemory());
        EXPECT_EQ(applied,
                  fault.commands.back() == EndCmd ? WriteResult::NotReady : WriteResult::NotOpened);
        EXPECT_EQ(ui.calls.back(), "hideShields");
        EXPECT_EQ(ui.requestsAt("incompleteWrite"), -1);
        EXPECT_TRUE(cycle().macroDirty()) << "the macro change is still to be written";
        EXPECT_EQ(cycle().images().paramV1.bytes[28], 9) << "the images were rebuilt";

        clearRecords();
        fault.arm(*mouse, *socket);
        cycle().DefaultParameter();
        EXPECT_EQ(commandsOf(requests()), fault.commands) << "Reset";
        EXPECT_TRUE(sameMemory());
        EXPECT_EQ(ui.calls.back(), "hideShields");

        clearRecords();
        fault.arm(*mouse, *socket);
        const DevInfoResult read = cycle().ReadDevInfo();
        EXPECT_EQ(commandsOf(requests()), fault.commands) << "ReadDevInfo";
        EXPECT_TRUE(ui.calls.empty()) << "no message";
        EXPECT_EQ(read, fault.commands.back() == EndCmd ? DevInfoResult::NotReady
                                                        : DevInfoResult::NoAnswer);
        EXPECT_EQ(link.hasDevice(), read != DevInfoResult::NotReady);
    }
}

TEST_F(CycleTest, FailedReadBlocksShowTheTemplates) {
    connect();
    const int base = mouse->requestCount();
    // Requests 1..6 are the status exchange and the two identity reads; 7 starts the parameter
    // block, whose every try is refused. The profile block, the third the mouse starts, loses
    // its chunk 1.
    mouse->refuseRequests(base + 7, 10, 0x01);
    mouse->loseChunk(1, 2);

    EXPECT_EQ(cycle().ReadDevInfo(), DevInfoResult::Read);

    EXPECT_TRUE(std::ranges::all_of(cycle().images().paramV1.used(),
                                    [](std::uint8_t b) { return b == 0xFF; }));
    EXPECT_EQ(sensitivity.valueText(1), "800");
    EXPECT_EQ(sensitivity.valueText(2), "1200");
    EXPECT_EQ(buttons.codeText(7), "040820") << "profile template";
    const Requests sent = requests();
    EXPECT_EQ(sent[sent.size() - 2], report({4, SystemReloadCmd}));
    EXPECT_EQ(sent.back(), report({4, EndCmd}));
}

TEST_F(CycleTest, DamagedParameterBlockShowsTheTemplateAndApplyStoresIt) {
    memory(0, 64)[9] = 0x03;  // one byte changed, old checksum kept
    connectAndRead();
    EXPECT_EQ(sensitivity.valueText(1), "800");
    EXPECT_EQ(sensitivity.valueText(4), "3200");

    EXPECT_EQ(cycle().DownloadParameter(), WriteResult::Written);

    EXPECT_TRUE(std::ranges::equal(memory(0, 37), kParamTemplateV1));
    EXPECT_EQ(memory(0, 64)[37], 0x03);
}

TEST_F(CycleTest, EmptyOrUnreadableFieldsAreCommittedBeforeAWrite) {
    connectAndRead();
    sensitivity.setColorText(2, "");
    light.setTimeText(TimeField::OffTime, "x");
    buttons.setDelayText("");

    EXPECT_EQ(cycle().DownloadParameter(), WriteResult::Written);

    EXPECT_EQ(sensitivity.colorText(2), "0");
    EXPECT_EQ(memory(0, 64)[21], 0);
    EXPECT_EQ(memory(0, 64)[28], 0);
    EXPECT_EQ(blockChecksum(memory(0, 37)), memory(0, 64)[37]);
    // The fire-key button (button 7) takes the delay field's exit value.
    EXPECT_EQ(memory(64, 28)[20], 2);
    EXPECT_EQ(blockChecksum(memory(64, 27)), memory(64, 28)[27]);
}

TEST_F(CycleTest, BlockWithALostChunkIsWrittenOnceMoreWhole) {
    struct Case {
        const char* name;
        std::vector<int> lossyBlocks;  // a read moves eight blocks, so the write starts at 8
        WriteResult result;
    };
    const Case cases[] = {
        {"taken on the second sending", {8}, WriteResult::Written},
        {"lost twice", {8, 9}, WriteResult::Incomplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mouse = std::make_shared<EmulatedMouse>();
        cycle_.reset();
        bus.unplug(test::kMousePath);
        link.DevTimerTimer();
        connectAndRead();
        for (int block : c.lossyBlocks) mouse->loseChunk(4, block);
        light.setTimeText(TimeField::OffTime, "9");

        EXPECT_EQ(cycle().DownloadParameter(), c.result);

        const Requests sent = requests();
        const CommandReport paramStart = report({4, WriteStartCmd, 0, 0, 45});
        const CommandReport profileStart = report({4, WriteStartCmd, 64, 0, 28});
        EXPECT_EQ(std::ranges::count(sent, paramStart), 2);
        EXPECT_EQ(std::ranges::count(sent, profileStart), 1);
        EXPECT_EQ(sent.back(), report({4, EndCmd}));
        // Chunk 4 of the parameter block carries offsets 24..29, offset 28 among them.
        EXPECT_EQ(memory(0, 64)[28], c.result == WriteResult::Written ? 9 : 1);
        if (c.result == WriteResult::Written) {
            EXPECT_EQ(ui.requestsAt("incompleteWrite"), -1);
        } else {
            EXPECT_EQ(ui.calls.back(), "incompleteWrite") << "told after the busy window";
            EXPECT_EQ(std::ranges::count(ui.calls, "incompleteWrite"), 1);
        }
    }
}

// Only a mouse read whole since it was opened is written: the images of any other mouse hold
// defaults or nothing, and writing them would replace its identity, light type and levels.
TEST_F(CycleTest, AMouseThatWasNotReadWholeIsNeverWritten) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        MouseReadState state;
    };
    const Case cases[] = {
        {"silent at discovery",
         [this] {
             mouse->refuseNext(10);
             EXPECT_EQ(cycle().ReadDevInfo(), DevInfoResult::NoAnswer);
         },
         MouseReadState::NotRead},
        {"identity 12 34",
         [this] {
             memory(0, 64)[43] = 0x12;
             memory(0, 64)[44] = 0x34;
             EXPECT_EQ(cycle().ReadDevInfo(), DevInfoResult::IdentityError);
         },
         MouseReadState::IdentityRefused},
        {"macro mouse, program without macros",
         [this] {
             image[42] = 2;
             cycle_.reset();
             cycle().InitNoDevice();
             EXPECT_EQ(cycle().ReadDevInfo(), DevInfoResult::WrongVariant);
         },
         MouseReadState::WrongVariant},
        {"parameter block lost a chunk",
         [this] {
             mouse->loseChunk(2, 2);  // blocks 0 and 1 are the identity and capability
             EXPECT_EQ(cycle().ReadDevInfo(), DevInfoResult::Read);
         },
         MouseReadState::NotRead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mouse = std::make_shared<EmulatedMouse>();
        image = builtInImage();
        cycle_.reset();
        bus.unplug(test::kMousePath);
        link.DevTimerTimer();
        connect();
        c.arrange();
        EXPECT_EQ(cycle().mouseMemory(), c.state);
        const MouseMemory before = wholeMemory();
        clearRecords();

        EXPECT_EQ(cycle().DownloadParameter(), WriteResult::Refused);
        EXPECT_EQ(cycle().DefaultParameter(), WriteResult::Refused);
        EXPECT_TRUE(requests().empty());
        EXPECT_TRUE(ui.calls.empty()) << "no busy window, no shields";
        EXPECT_EQ(wholeMemory(), before);
    }
}

TEST_F(CycleTest, StartUpFillsDataBufFromTheDefaultImage) {
    cycle().InitNoDevice();
    const DataBuf& data = cycle().dataBuf();
    // The variant 1 section holds the default parameter image, never zeros.
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 38, image.begin()));
}

TEST_F(CycleTest, TheMacroCapabilityOfOneMouseIsNotTakenForTheNext) {
    connectAndRead();
    ASSERT_TRUE(cycle().macroSupport());

    // The next mouse answers its capability byte with something that is neither 2 nor 10.
    bus.unplug(test::kMousePath);
    link.DevTimerTimer();
    cycle().forgetMouse();
    mouse = std::make_shared<EmulatedMouse>();
    memory(0, 64)[42] = 0x55;
    connect();
    EXPECT_EQ(cycle().ReadDevInfo(), DevInfoResult::Read);
    EXPECT_FALSE(cycle().macroSupport());
    Requests expected = identityCheck(0x2B, 0x2A);
    addFullRead(expected, 45, false);
    EXPECT_EQ(requests(), expected) << "no macro area read";

    clearRecords();
    EXPECT_EQ(cycle().DefaultParameter(), WriteResult::Written);
    EXPECT_EQ(std::ranges::count(commandsOf(requests()), WriteStartCmd), 2) << "no macro area";
}

TEST_F(CycleTest, Variant2ApplyWritesItsBlockAtItsOwnLength) {
    image = variant2Image();
    MouseMemory memory2 = factoryMemory();
    std::ranges::copy(std::span(image).first(38), memory2.begin());
    mouse = std::make_shared<EmulatedMouse>(2, memory2);
    connectAndRead();

    EXPECT_EQ(cycle().DownloadParameter(), WriteResult::Written);

    Requests expected;
    addCommand(expected, BeginCmd);
    addCommand(expected, StatusCmd);
    addWrite(expected, 0, 38, memory(0, 42));
    addWrite(expected, 64, 28, memory(64, 30));
    addCommand(expected, SystemReloadCmd);
    addCommand(expected, EndCmd);
    const Requests sent = requests();
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(sent[2], report({4, WriteStartCmd, 0x00, 0x00, 0x26, 0x00}));
    EXPECT_EQ(std::ranges::count(sent.begin() + 3, sent.begin() + 10, report({4, WriteNextCmd})),
              0) << "the chunks carry data";
    EXPECT_EQ(sent[10][1], WriteStartCmd) << "seven chunks, then the profile block";
    EXPECT_TRUE(std::ranges::equal(memory(0, 31), std::span(memory2).first(31)))
        << "the settings read are the settings written";
}

}  // namespace
}  // namespace kvr
