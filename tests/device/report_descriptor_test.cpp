#include "device/report_descriptor.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "device/hidapi_backend.h"

namespace kvr {
namespace {

struct DescriptorCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    int length;  // of feature report 4

    friend void PrintTo(const DescriptorCase& c, std::ostream* os) { *os << c.name; }
};

// Usage page (vendor), usage, application collection; the cases fill in the middle.
std::vector<std::uint8_t> wrapped(std::vector<std::uint8_t> middle) {
    static constexpr std::uint8_t kHead[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
    middle.insert(middle.begin(), std::begin(kHead), std::end(kHead));
    middle.push_back(0xC0);
    return middle;
}

class DescriptorTest : public testing::TestWithParam<DescriptorCase> {};

TEST_P(DescriptorTest, FeatureReportFourIsMeasuredWithItsIdByte) {
    const DescriptorCase& c = GetParam();
    // An exact-size copy, so a read past the end shows under the address sanitizer.
    const std::vector<std::uint8_t> bytes(c.bytes);
    EXPECT_EQ(featureReportLength(bytes, 4), c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptors, DescriptorTest,
    testing::Values(
        DescriptorCase{"SevenDataBytes",
                       wrapped({0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0x09, 0x01, 0xB1, 0x02}), 8},
        DescriptorCase{
            "TwoFeatureItemsAdd",
            wrapped({0x85, 0x04, 0x75, 0x08, 0x95, 0x03, 0xB1, 0x02, 0x95, 0x04, 0xB1, 0x02}), 8},
        DescriptorCase{"InputAndOtherIdsDoNotCount",
                       wrapped({0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0x81, 0x02, 0x85,
                                0x05, 0x95, 0x3F, 0xB1, 0x02}),
                       8},
        DescriptorCase{"BitsRoundUpToBytes",
                       wrapped({0x85, 0x04, 0x75, 0x01, 0x95, 0x09, 0xB1, 0x02}), 3},
        DescriptorCase{
            "FourByteItemData",
            wrapped({0x87, 0x04, 0, 0, 0, 0x77, 0x08, 0, 0, 0, 0x97, 0x40, 0, 0, 0, 0xB1, 0x02}),
            65},
        DescriptorCase{"PopRestoresTheReportId",
                       wrapped({0x85, 0x04, 0x75, 0x08, 0xA4, 0x85, 0x05, 0x95, 0x09, 0xB1, 0x02,
                                0xB4, 0x95, 0x07, 0xB1, 0x02}),
                       8},
        DescriptorCase{
            "LongItemsAreSkipped",
            wrapped({0xFE, 0x02, 0x10, 0xB1, 0x02, 0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02}),
            8},
        DescriptorCase{"OnlyAnotherReport",
                       wrapped({0x85, 0x05, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02}), 0},
        DescriptorCase{"NoReportIds", wrapped({0x75, 0x08, 0x95, 0x07, 0xB1, 0x02}), 0},
        DescriptorCase{"Empty", {}, 0},
        DescriptorCase{
            "CutInsideAnItem", {0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0x96}, 0},
        DescriptorCase{"CutInsideALongItem",
                       {0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xFE, 0x05, 0x10, 1},
                       0},
        DescriptorCase{"CutLongItemHeader", {0x85, 0x04, 0xFE, 0x05}, 0},
        DescriptorCase{"PopWithoutPush",
                       wrapped({0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xB4}), 0},
        DescriptorCase{"AbsurdSize",
                       wrapped({0x85, 0x04, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF,
                                0xFF, 0xB1, 0x02}),
                       0}),
    [](const testing::TestParamInfo<DescriptorCase>& info) { return info.param.name; });

TEST(ReportDescriptorFile, OnlyHidrawNodesHaveOne) {
    EXPECT_EQ(reportDescriptorFile("/dev/hidraw3"),
              std::filesystem::path("/sys/class/hidraw/hidraw3/device/report_descriptor"));
    for (const char* path :
         {"/dev/hidraw", "/dev/hidrawx", "/dev/hidraw3/../sda", "1-2:1.0", "/tmp/hidraw3", ""}) {
        EXPECT_EQ(reportDescriptorFile(path), std::nullopt) << path;
    }
}

TEST(HidapiBackend, EnumeratesAndRefusesAPathThatIsNoDevice) {
    HidapiBackend backend;
    for (const HidInterfaceInfo& info : backend.enumerate()) EXPECT_FALSE(info.path.empty());
    EXPECT_EQ(backend.open("/nonexistent/hidraw99"), nullptr);
    EXPECT_FALSE(backend.lastError().empty());
}

}  // namespace
}  // namespace kvr
