#include "device/device_link.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "device_fixture.h"

namespace kvr {
namespace {

using std::chrono::milliseconds;
using test::otherDevice;
using Events = std::vector<std::string>;

class DeviceLinkTest : public test::DeviceTest {
protected:
    void plugKeyboard(const std::string& path = "/dev/hidraw-keyboard") {
        bus.plug(otherDevice(path));
    }
    void plugTheMouse() { plugMouse(bus, mouse, test::kMousePath); }

    // A tick with a clean record of what it did.
    Events tick() {
        window.events.clear();
        pacer.clearRecord();
        link.DevTimerTimer();
        return window.events;
    }

    static std::vector<milliseconds> settle(int pairs = 1) {
        return std::vector<milliseconds>(21 * pairs, milliseconds(100));
    }
};

TEST_F(DeviceLinkTest, CountsOnlyInterfacesThatOpen) {
    plugKeyboard("a");
    plugTheMouse();
    VirtualInterface locked = otherDevice("b");
    locked.openable = false;
    bus.plug(locked);
    EXPECT_EQ(link.CountHidInterfaces(), 2);
    EXPECT_EQ(bus.opens(), 3);
    EXPECT_FALSE(link.hasDevice());
}

TEST_F(DeviceLinkTest, OpensOnlyAnEightByteInterfaceWithTheGivenIdentifiers) {
    struct Case {
        const char* name;
        std::uint16_t version;
        int featureLength;
        bool openable;
        bool taken;
    };
    const Case cases[] = {
        {"mouse", kVersionVariant1, 8, true, true},
        {"other version", kVersionVariant2, 8, true, false},
        {"report of 65", kVersionVariant1, 65, true, false},
        {"report of 7", kVersionVariant1, 7, true, false},
        {"no feature report", kVersionVariant1, 0, true, false},
        {"held by another program", kVersionVariant1, 8, false, false},
    };
    for (const Case& c : cases) {
        VirtualBus caseBus;
        VirtualInterface mouseLike{
            .info = mouse->interfaceInfo("m"), .openable = c.openable, .device = mouse};
        mouseLike.info.version = c.version;
        mouseLike.info.featureReportLength = c.featureLength;
        caseBus.plug(mouseLike);
        DeviceLink caseLink(caseBus, pacer, window);
        EXPECT_EQ(caseLink.OpenDevice(kMouseVendorId, kMouseProductId, kVersionVariant1), c.taken)
            << c.name;
        EXPECT_EQ(caseLink.hasDevice(), c.taken) << c.name;
        EXPECT_EQ(caseLink.vendorId(), c.taken ? kMouseVendorId : 0) << c.name;
        EXPECT_EQ(caseLink.featureReportLength(), c.taken ? 8 : 0) << c.name;
    }
}

TEST_F(DeviceLinkTest, ALaterMatchReplacesAnEarlierOne) {
    auto second = std::make_shared<EmulatedMouse>();
    plugMouse(bus, mouse, "first");
    plugMouse(bus, second, "second");
    ASSERT_TRUE(link.OpenDevice(kMouseVendorId, kMouseProductId, kVersionVariant1));
    ASSERT_TRUE(protocol.SendCommand(BeginCmd));
    EXPECT_TRUE(mouse->wireLog().empty());
    EXPECT_EQ(second->requests().size(), 1u);
}

TEST_F(DeviceLinkTest, StartWithoutTheMouseShowsTheNoDeviceStateOnce) {
    // With no openable interface at all, as on a machine without access to the mouse, the first
    // tick still searches and says so.
    for (int keyboards : {1, 0}) {
        DeviceLink fresh{bus, pacer, window};
        if (keyboards == 1) plugKeyboard();
        window.events.clear();
        pacer.clearRecord();
        fresh.DevTimerTimer();
        EXPECT_EQ(window.events, Events{"noDeviceFound"}) << keyboards << " keyboard(s)";
        EXPECT_EQ(pacer.waits(), settle());
        EXPECT_EQ(fresh.lastInterfaceCount(), keyboards);
        EXPECT_EQ(fresh.deviceVariant(), 0);
        EXPECT_FALSE(fresh.hasDevice());
        window.events.clear();
        fresh.DevTimerTimer();
        EXPECT_EQ(window.events, Events{});
        if (keyboards == 1) bus.unplug("/dev/hidraw-keyboard");
    }
}

TEST_F(DeviceLinkTest, AMouseThatAwaitsItsReadIsReadAgainAtTheNextTick) {
    plugTheMouse();
    EXPECT_EQ(tick(), Events{"readDevInfo"});
    window.awaiting = true;
    EXPECT_EQ(tick(), Events{"readDevInfo"});
    EXPECT_EQ(pacer.waits(), std::vector<milliseconds>{}) << "no settle for a mouse already open";
    window.awaiting = false;
    EXPECT_EQ(tick(), Events{});
}

TEST_F(DeviceLinkTest, AMousePluggedInLaterIsSettledOpenedAndRead) {
    plugKeyboard();
    tick();
    plugTheMouse();
    window.during = [&] {
        EXPECT_TRUE(link.hasDevice());
        EXPECT_TRUE(link.timerBusy());
        // A tick that fires while the read pumps events returns at once.
        const int enumerations = bus.enumerations();
        link.DevTimerTimer();
        EXPECT_EQ(bus.enumerations(), enumerations);
    };
    EXPECT_EQ(tick(), Events{"readDevInfo"});
    EXPECT_EQ(pacer.waits(), settle());
    EXPECT_EQ(pacer.pumps(), 21);
    EXPECT_EQ(link.deviceVariant(), 1);
    EXPECT_EQ(link.vendorId(), kMouseVendorId);
    EXPECT_EQ(link.productId(), kMouseProductId);
    EXPECT_EQ(link.lastInterfaceCount(), 2);
    EXPECT_FALSE(link.timerBusy());
}

TEST_F(DeviceLinkTest, AnUnpluggedMouseIsLostAndFoundAgainWhenPluggedBack) {
    plugTheMouse();
    ASSERT_EQ(tick(), Events{"readDevInfo"});
    window.during = [&] { EXPECT_FALSE(link.hasDevice()) << "dropped before the window reacts"; };
    bus.unplug(test::kMousePath);
    EXPECT_EQ(tick(), Events{"noDeviceFound"});
    EXPECT_TRUE(pacer.waits().empty());
    EXPECT_EQ(link.vendorId(), 0);
    EXPECT_EQ(link.productId(), 0);
    EXPECT_EQ(link.deviceVariant(), 0);
    EXPECT_EQ(link.lastInterfaceCount(), 0);

    window.during = nullptr;
    plugTheMouse();
    EXPECT_EQ(tick(), Events{"readDevInfo"});
    EXPECT_TRUE(link.hasDevice());
}

TEST_F(DeviceLinkTest, AnotherDeviceLeavingWhileTheMouseStaysChangesNothingButTheCount) {
    plugKeyboard("k1");
    plugKeyboard("k2");
    plugTheMouse();
    ASSERT_EQ(tick(), Events{"readDevInfo"});
    bus.unplug("k1");
    EXPECT_EQ(tick(), Events{});
    EXPECT_TRUE(link.hasDevice());
    EXPECT_EQ(link.deviceVariant(), 1);
    EXPECT_EQ(link.lastInterfaceCount(), 2);
    ASSERT_TRUE(protocol.SendCommand(BeginCmd));
}

TEST_F(DeviceLinkTest, AFallIsALossWhenTheMousesInterfaceIsGoneOrIsNoLongerTheMouse) {
    // Another device at the mouse's path is not the mouse.
    plugKeyboard("k1");
    plugTheMouse();
    ASSERT_EQ(tick(), Events{"readDevInfo"});
    bus.unplug("k1");
    bus.plug(otherDevice(test::kMousePath));
    EXPECT_EQ(tick(), Events{"noDeviceFound"});
    EXPECT_FALSE(link.hasDevice());
}

TEST_F(DeviceLinkTest, AFallWithNoMouseOpenShowsTheNoDeviceStateAgain) {
    plugKeyboard("k1");
    plugKeyboard("k2");
    ASSERT_EQ(tick(), Events{"noDeviceFound"});
    bus.unplug("k1");
    EXPECT_EQ(tick(), Events{"noDeviceFound"});
    EXPECT_EQ(link.lastInterfaceCount(), 1);
}

TEST_F(DeviceLinkTest, AMouseOfTheOtherVariantIsOpenedButNotRead) {
    mouse = std::make_shared<EmulatedMouse>(2);
    plugTheMouse();
    EXPECT_EQ(tick(), Events{"wrongVariant"});
    EXPECT_TRUE(link.hasDevice());
    EXPECT_EQ(link.deviceVariant(), 2);
    EXPECT_EQ(link.vendorId(), kMouseVendorId);
    EXPECT_TRUE(mouse->wireLog().empty());
}

TEST_F(DeviceLinkTest, BothVersionsAreAlwaysTriedAndTheSecondWins) {
    auto other = std::make_shared<EmulatedMouse>(2);
    plugTheMouse();
    plugMouse(bus, other, "/dev/hidraw-second");
    EXPECT_EQ(tick(), Events{"wrongVariant"});
    EXPECT_EQ(link.deviceVariant(), 2);
    ASSERT_TRUE(protocol.SendCommand(BeginCmd));
    EXPECT_EQ(other->requests().size(), 1u);
}

TEST_F(DeviceLinkTest, AMouseWithAnotherReportLengthIsNeverTaken) {
    VirtualInterface wide{.info = mouse->interfaceInfo(test::kMousePath), .device = mouse};
    wide.info.featureReportLength = 65;
    bus.plug(wide);
    EXPECT_EQ(tick(), Events{"noDeviceFound"});
    EXPECT_FALSE(link.hasDevice());
}

TEST_F(DeviceLinkTest, EachUsablePairIsSearchedAfterItsOwnSettle) {
    const IdentifierPair second{0x1234, 0x5678};
    link.setAcceptedIdentifiers({IdentifierPair{kMouseVendorId, kMouseProductId}, second});
    VirtualInterface renamed{.info = mouse->interfaceInfo(test::kMousePath), .device = mouse};
    renamed.info.vendorId = second.vendorId;
    renamed.info.productId = second.productId;
    bus.plug(renamed);
    EXPECT_EQ(tick(), (Events{"noDeviceFound", "readDevInfo"}));
    EXPECT_EQ(pacer.waits(), settle(2));
    EXPECT_EQ(link.vendorId(), second.vendorId);

    // A pair with a zero member is skipped, settle and all.
    DeviceLink onlyZero(bus, pacer, window);
    onlyZero.setAcceptedIdentifiers({IdentifierPair{0, kMouseProductId}, IdentifierPair{}});
    window.events.clear();
    pacer.clearRecord();
    onlyZero.DevTimerTimer();
    EXPECT_EQ(window.events, Events{});
    EXPECT_TRUE(pacer.waits().empty());
    EXPECT_EQ(onlyZero.lastInterfaceCount(), 1);
}

TEST_F(DeviceLinkTest, ARiseWithTheOpenMouseGoneDropsItsStaleHandle) {
    plugTheMouse();
    ASSERT_EQ(tick(), Events{"readDevInfo"});
    // Within one timer period the mouse leaves and two other devices arrive.
    bus.unplug(test::kMousePath);
    plugKeyboard("k1");
    plugKeyboard("k2");
    EXPECT_EQ(tick(), Events{"noDeviceFound"});
    EXPECT_FALSE(link.hasDevice());
    EXPECT_EQ(link.deviceVariant(), 0);
}

// The counts the bus shows to the first ten enumerations of a tick (five rounds of two).
struct CountCase {
    const char* name;
    std::vector<int> counts;
    bool acts;
    int lastCount;

    friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.name; }
};

class UnstableCountTest : public DeviceLinkTest, public testing::WithParamInterface<CountCase> {};

TEST_P(UnstableCountTest, ATickActsOnlyOnAtLeastTwoAgreeingRounds) {
    const CountCase& c = GetParam();
    tick();  // the first search, which every start makes
    const int before = bus.enumerations();
    bus.setBeforeEnumerate([&](int total) {
        const int n = total - before;
        const int wanted = c.counts[std::min<std::size_t>(n, c.counts.size()) - 1];
        while (static_cast<int>(bus.interfaceCount()) < wanted) {
            plugKeyboard("k" + std::to_string(bus.interfaceCount()));
        }
        while (static_cast<int>(bus.interfaceCount()) > wanted) {
            bus.unplug("k" + std::to_string(bus.interfaceCount() - 1));
        }
    });
    EXPECT_EQ(tick(), c.acts ? Events{"noDeviceFound"} : Events{});
    EXPECT_EQ(link.lastInterfaceCount(), c.lastCount);
}

INSTANTIATE_TEST_SUITE_P(
    Rounds, UnstableCountTest,
    testing::Values(
        CountCase{"NoRoundAgrees", {1, 0, 1, 0, 1, 0, 1, 0, 1, 0}, false, 0},
        CountCase{"OneRoundAgrees", {1, 1, 1, 0, 1, 0, 1, 0, 1, 0}, false, 0},
        CountCase{"TwoRoundsAgree", {1, 1, 2, 2, 1, 0, 1, 0, 3, 0}, true, 3},
        CountCase{"TheFifthRoundsFirstCountDecides", {2, 2, 2, 2, 2, 2, 2, 2, 0, 2}, false, 0}),
    [](const testing::TestParamInfo<CountCase>& info) { return info.param.name; });

// A program that looks once at start: no settle wait, the same reactions as a tick's search.
TEST_F(DeviceLinkTest, ASearchAtStartFindsTheMouseWithoutSettling) {
    struct Case {
        const char* name;
        int variant;  // 0: no mouse plugged
        Events events;
    };
    const Case cases[] = {
        {"mouse of the image's variant", 1, {"readDevInfo"}},
        {"mouse of the other variant", 2, {"wrongVariant"}},
        {"no mouse", 0, {"noDeviceFound"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualBus bus;
        VirtualPacer pacer;
        test::RecordingPresence window;
        DeviceLink link(bus, pacer, window);
        bus.plug(test::otherDevice("/dev/hidraw-keyboard"));
        if (c.variant != 0)
            plugMouse(bus, std::make_shared<EmulatedMouse>(c.variant), test::kMousePath);

        EXPECT_EQ(link.searchMouse(), c.variant);
        EXPECT_EQ(window.events, c.events);
        EXPECT_EQ(link.deviceVariant(), c.variant);
        EXPECT_EQ(link.hasDevice(), c.variant != 0);
        EXPECT_TRUE(pacer.waits().empty());
    }
}

}  // namespace
}  // namespace kvr
