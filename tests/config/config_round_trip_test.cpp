// The configuration file against mice of both memory variants, with and without macros: what one
// mouse exports, applied to a factory mouse of its kind, exports again as the same text.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "config/mouse_config.h"
#include "cycle/macro_cycle_fixture.h"
#include "params/checksum.h"
#include "params/param_layout.h"

namespace kvr {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A variant 2 default image: the variant 2 template, the shared tail with macros and identity
// FF FF, the default profile and an empty macro area.
Bytes variant2Image(const Bytes& v1) {
    Bytes image(kParamTemplateV2.begin(), kParamTemplateV2.end());
    image.push_back(blockChecksum(image));
    for (std::uint8_t b : {0x01, 0xFE, 0x06, 0xF9, 0x0A, 0xFF, 0xFF}) image.push_back(b);
    image.insert(image.end(), v1.begin() + 45, v1.begin() + 45 + 28);
    image.resize(image.size() + kMacroAreaSize, 0);
    return image;
}

// One program on one mouse: read it whole, export, apply, write as Apply does.
class Program {
public:
    Program(const Bytes& image, int variant, const MouseMemory& memory)
        : image_(image), mouse(std::make_shared<EmulatedMouse>(variant, memory)) {
        naming_.macroNameAt = macros_.macroNameAt();
        ui_.onRefreshDeviceMacroList = [this] { macros_.ReadAndRefreshMacro2(); };
        link_.setImageVariant(cycle_.imageVariant());
        cycle_.InitNoDevice();
        plugMouse(bus_, mouse, test::kMousePath);
        link_.DevTimerTimer();
        EXPECT_EQ(link_.deviceVariant(), variant);
        EXPECT_EQ(cycle_.ReadDevInfo(), DevInfoResult::Read);
    }
    std::string exported() { return configText(mouseConfig({cycle_, macros_})); }
    void apply(const std::string& text) {
        const auto applied = applyConfigText(text, "mouse.toml", {cycle_, macros_});
        if (const auto* error = std::get_if<ConfigError>(&applied)) {
            FAIL() << error->line << ":" << error->column << ": " << error->message;
        }
        EXPECT_EQ(cycle_.DownloadParameter(), WriteResult::Written);
    }
    MouseMemory memory() const { return std::as_const(*mouse).memory(); }

private:
    Bytes image_;
    VirtualBus bus_;
    VirtualPacer pacer_;
    test::RecordingPresence presence_;
    DeviceLink link_{bus_, pacer_, presence_};
    CommandProtocol protocol_{link_, pacer_};
    CodeNaming naming_{.texts = test::englishLookup(), .macroNameAt = {}};
    SensitivityModel sensitivity_{test::englishLookup()};
    LightModel light_;
    ButtonModel buttons_;
    test::CallListUi ui_;
    ReadWriteCycle cycle_{image_,  link_, protocol_, PageModels{sensitivity_, light_, buttons_},
                          naming_, ui_};
    DeviceMacros macros_{cycle_, buttons_, test::englishLookup()};

public:
    std::shared_ptr<EmulatedMouse> mouse;
};

std::string settings(const std::string& moreButtons = {}) {
    return "[sensitivity]\ndpi = [500, 1200, 4000]\ncolors = [1, 5, 2]\ncurrent = 3\n"
           "[light]\nmcpi = \"on\"\n"
           "[buttons]\n2 = \"Volume +\"\n5 = \"ctrl+shift+a\"\n9 = \"Fire Key\"\n" +
           moreButtons + "[fire]\nrepeat = 5\ndelay = 40\n";
}
const std::string kMacros =
    "[[macros]]\nname = \"Copy\"\n"
    "events = [\"press Ctrl\", \"wait 24 ms\", \"press C\", \"release C\", \"release Ctrl\"]\n"
    "[[macros]]\nname = \"Long\"\nevents = [\"press A\", \"wait 4104 ms\", \"release A\"]\n";

struct RoundTrip {
    const char* name;
    int variant;
    std::string changes;  // what the first mouse holds beside its factory settings
};

class ConfigRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ConfigRoundTrip, ExportApplyOnAFactoryMouseExportGivesTheSameText) {
    const RoundTrip& c = GetParam();
    const auto resource = findResource(kDefaultImageResource);
    ASSERT_TRUE(resource);
    const Bytes v1(resource->begin(), resource->end());
    const Bytes image = c.variant == 1 ? v1 : variant2Image(v1);
    MouseMemory factory = factoryMemory();
    if (c.variant == 2) std::ranges::copy(std::span(image).first(38), factory.begin());

    MouseMemory source;
    {
        Program first(image, c.variant, factory);
        first.apply(c.changes);
        source = first.memory();
    }
    ASSERT_NE(source, factory);
    const std::string text = Program(image, c.variant, source).exported();
    ASSERT_EQ(text.find("macro:Copy") != std::string::npos,
              c.changes.find("macro:Copy") != std::string::npos)
        << text;

    MouseMemory copied;
    {
        Program second(image, c.variant, factory);
        second.apply(text);
        copied = second.memory();
    }
    EXPECT_EQ(Program(image, c.variant, copied).exported(), text);
}

INSTANTIATE_TEST_SUITE_P(Mice, ConfigRoundTrip,
                         ::testing::Values(RoundTrip{"Variant1", 1, settings()},
                                           RoundTrip{"Variant1WithMacros", 1,
                                                     kMacros + settings("4 = \"macro:Copy\"\n")},
                                           RoundTrip{"Variant2", 2, settings()},
                                           RoundTrip{"Variant2WithMacros", 2,
                                                     kMacros + settings("4 = \"macro:Copy\"\n")}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvr
