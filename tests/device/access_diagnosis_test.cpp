#include "device/access_diagnosis.h"

#include <gtest/gtest.h>

#include "device_fixture.h"

namespace kvr {
namespace {

using test::otherDevice;

VirtualInterface mouseInterface(const std::string& path, int featureLength, bool openable) {
    return {.info = {.path = path,
                     .vendorId = kMouseVendorId,
                     .productId = kMouseProductId,
                     .version = kVersionVariant1,
                     .featureReportLength = featureLength},
            .openable = openable,
            .device = nullptr};
}

TEST(AccessDiagnosis, ExaminesEveryInterfaceOfTheMouseAndNoOther) {
    VirtualBus bus;
    bus.plug(otherDevice("/dev/hidraw-keyboard"));
    plugMouse(bus, std::make_shared<EmulatedMouse>(), "emulated:config");
    bus.plug(mouseInterface("emulated:pointer", 0, true));
    bus.plug(mouseInterface("emulated:held", 8, false));

    const Diagnosis d = diagnose(bus);
    ASSERT_EQ(d.interfaces.size(), 3u);
    EXPECT_TRUE(d.usable);
    EXPECT_EQ(d.problem, "");
    for (const MouseInterfaceStatus& s : d.interfaces) {
        SCOPED_TRACE(s.info.path);
        EXPECT_EQ(s.variant, 1);
        EXPECT_EQ(s.configurable, s.info.path != "emulated:pointer");
        EXPECT_EQ(s.openable, s.info.path != "emulated:held");
        EXPECT_EQ(s.problem.empty(), s.openable);
        EXPECT_FALSE(s.permissionDenied);
    }
    EXPECT_NE(d.text.find("emulated:held  version 0102 (variant 1)  feature report 8 bytes  "
                          "does not open"),
              std::string::npos)
        << d.text;
    EXPECT_NE(d.text.find("not the configuration interface"), std::string::npos);
}

TEST(AccessDiagnosis, NamesTheUdevRuleWhenPermissionsAreInTheWay) {
    MouseInterfaceStatus denied;
    denied.info = {"/dev/hidraw5", kMouseVendorId, kMouseProductId, kVersionVariant1, 8};
    denied.variant = 1;
    denied.configurable = true;
    denied.permissionDenied = true;
    denied.problem = "/dev/hidraw5: Permission denied";
    const std::string text = diagnosisText({denied});
    EXPECT_NE(text.find("Permission denied"), std::string::npos);
    EXPECT_NE(text.find(kUdevRuleName), std::string::npos);
    EXPECT_NE(text.find("TAG+=\"uaccess\""), std::string::npos);
    EXPECT_NE(text.find("1bcf"), std::string::npos);
}

TEST(AccessDiagnosis, SaysSoWhenNoMouseIsPresentOrNoneCanBeUsed) {
    VirtualBus bus;
    bus.plug(otherDevice("/dev/hidraw-keyboard"));
    Diagnosis d = diagnose(bus);
    EXPECT_FALSE(d.usable);
    EXPECT_NE(d.problem.find("No KVR5507 mouse found"), std::string::npos);
    EXPECT_EQ(d.text, "");

    bus.plug(mouseInterface("emulated:pointer", 0, true));
    d = diagnose(bus);
    EXPECT_FALSE(d.usable);
    EXPECT_NE(d.problem.find("No interface of the mouse can be used"), std::string::npos);
    EXPECT_NE(d.text.find("emulated:pointer"), std::string::npos) << "the interface is listed";
}

}  // namespace
}  // namespace kvr
