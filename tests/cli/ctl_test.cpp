#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "base/bits.h"
#include "base/language_table.h"
#include "ctl_fixture.h"
#include "device/virtual_bus.h"
#include "params/checksum.h"
#include "params/param_layout.h"

namespace kvr {
namespace {

using test::CtlTest;
using Json = nlohmann::json;
constexpr const ParamLayout& kV1 = kParamLayoutV1;
constexpr std::size_t kProfile = kMemoryProfileAddress;
constexpr std::size_t kTail = kV1.tail;

std::string english(std::string_view key) { return LanguageText(2, key); }

// The memory with both block checksums set again, as a write leaves it.
MouseMemory withChecksums(MouseMemory m) {
    m[kV1.checksum] = blockChecksum(std::span(m).first(kV1.checksum));
    m[kProfile + profile_block::kChecksum] =
        blockChecksum(std::span(m).subspan(kProfile, profile_block::kChecksum));
    return m;
}

TEST_F(CtlTest, ShowJsonGivesTheFactoryMemoryFieldByField) {
    const MouseMemory m = factoryMemory();
    const auto run = this->run({"--json", "show"});
    ASSERT_EQ(run.code, 0) << run.err;
    const Json doc = Json::parse(run.out);

    EXPECT_EQ(doc["mouse"]["variant"], 1);
    EXPECT_EQ(doc["mouse"]["macros"], m[kTail + param_tail::kMacroCapability] == 10);

    const int inUse = m[kV1.dpiLevelCount];
    EXPECT_EQ(doc["sensitivity"]["levelsInUse"], inUse);
    EXPECT_EQ(doc["sensitivity"]["current"], m[kTail + param_tail::kCurrentDpiLevel] + 1);
    for (int n = 1; n <= kDpiLevelCount; ++n) {
        SCOPED_TRACE(n);
        const Json& level = doc["sensitivity"]["levels"][n - 1];
        EXPECT_EQ(level["inUse"], n <= inUse);
        if (n <= inUse) {
            EXPECT_EQ(level["dpi"],
                      std::stoi(english("Str" + std::to_string(300 + m[kV1.dpiLevelValue + n - 1]))));
        }
        EXPECT_EQ(level["color"], n == 8 ? 7 : m[kV1.cpiColor + n - 1]);
    }

    const std::uint8_t flags = m[kV1.configFlags];
    const std::uint8_t ledMode = m[kTail + param_tail::kLedMode];
    const Json& light = doc["light"];
    EXPECT_EQ(light["type"], bitTest(flags, config_flag::kColorType) ? "colour" : "NT");
    EXPECT_EQ(light["modes"],
              (Json{"breathing-1", "breathing-2", "breathing-3", "breathing-4"}));
    EXPECT_EQ(light["mcpi"], bitTest(flags, config_flag::kMcpiOff) ? "off" : "on");
    EXPECT_EQ(light["effect"], bitTest(ledMode, led_mode::kButtonEffect) ? "on" : "off");
    // The factory light is a synchronised breathing colour light.
    EXPECT_EQ(light["mode"], "breathing-3");
    EXPECT_EQ(light["times"], (Json{{"off-time", m[kV1.offTime]},
                                    {"rise-time", m[kV1.riseTime]},
                                    {"light-time", m[kV1.lightTime]},
                                    {"fall-time", m[kV1.fallTime]}}));

    const std::vector<std::string> names = {"Left Key", "Middle Key", "Right Key",
                                            "Backward", "Forward",    "DPI",
                                            "Fire Key", "Win+D",      "Home"};
    for (int n = 1; n <= 9; ++n) {
        SCOPED_TRACE(n);
        const Json& button = doc["buttons"][n - 1];
        char code[8];
        const std::size_t at = kProfile + 3 * static_cast<std::size_t>(n - 1);
        std::snprintf(code, sizeof code, "%02X%02X%02X", m[at], m[at + 1], m[at + 2]);
        EXPECT_EQ(button["code"], code);
        EXPECT_EQ(button["function"], names[static_cast<std::size_t>(n - 1)]);
    }
    // Button 7's fire key carries the shared repeat count (doubled) and delay.
    EXPECT_EQ(doc["fireKey"]["repeat"], m[kProfile + 19] / 2);
    EXPECT_EQ(doc["fireKey"]["delay"], m[kProfile + 20]);
}

struct SetCase {
    const char* name;
    std::vector<std::string> args;
    std::map<std::size_t, std::uint8_t> bytes;  // memory address → value after the write

    friend void PrintTo(const SetCase& c, std::ostream* os) { *os << c.name; }
};

class CtlSetForms : public CtlTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(CtlSetForms, WriteTheBytesApplyWrites) {
    const SetCase& c = GetParam();
    std::vector<std::string> args{"--emulate=" + memoryFile.string(), "set"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = runArgs(args);
    ASSERT_EQ(run.code, 0) << run.err;

    MouseMemory expected = factoryMemory();
    for (const auto& [address, value] : c.bytes) expected[address] = value;
    EXPECT_EQ(memory(), withChecksums(expected));
}

constexpr std::size_t button(int n) { return kProfile + 3 * static_cast<std::size_t>(n - 1); }
constexpr std::uint8_t kFactoryFlags = 0xFF;
constexpr std::uint8_t kFactoryLedMode = 0x06;

INSTANTIATE_TEST_SUITE_P(
    Forms, CtlSetForms,
    ::testing::Values(
        // Levels out of use are stored as step 0.
        SetCase{"Levels", {"levels", "3"}, {{kV1.dpiLevelCount, 3}, {kV1.dpiLevelValue + 3, 0}}},
        SetCase{"LevelStepByText", {"level", "3=1600"}, {{kV1.dpiLevelValue + 2, 2}}},
        SetCase{"Current", {"current", "3"}, {{kTail, 2}, {kTail + 1, 253}}},
        SetCase{"Color", {"color", "2=5"}, {{kV1.cpiColor + 1, 5}}},
        SetCase{"MenuFunctionByName",
                {"button", "2", "Volume +"},
                {{button(2), 0x03}, {button(2) + 1, 0x00}, {button(2) + 2, 0xE9}}},
        SetCase{"KeyCombination",
                {"button", "4", "ctrl+shift+a"},
                {{button(4), 0x02}, {button(4) + 1, 0x03}, {button(4) + 2, 0x04}}},
        // Every fire key shares one repeat count and delay: button 7 follows.
        SetCase{"FireKey",
                {"button", "5", "fire:5,30"},
                {{button(5), 0x04},
                 {button(5) + 1, 10},
                 {button(5) + 2, 30},
                 {button(7) + 1, 10},
                 {button(7) + 2, 30}}},
        SetCase{"McpiOn", {"mcpi", "on"}, {{kV1.configFlags, kFactoryFlags & ~0x01}}},
        SetCase{"EffectOn",
                {"effect", "on"},
                {{kTail + 2, kFactoryLedMode | 0x80}, {kTail + 3, 255 - (kFactoryLedMode | 0x80)}}},
        SetCase{"Mode",
                {"mode", "breathing-2"},
                {{kV1.configFlags, kFactoryFlags & ~0x18}, {kTail + 2, 0x05}, {kTail + 3, 0xFA}}},
        SetCase{"TimeField", {"rise-time", "9"}, {{kV1.riseTime, 9}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CtlTest, SeveralSettingsInOneCallAreOneWrite) {
    const auto run = this->run({"set", "levels", "5", "level", "5=800", "current", "5", "button",
                                "2", "Volume +", "effect", "on"});
    ASSERT_EQ(run.code, 0) << run.err;
    // One read bracket and one write bracket: the parameter and the button block once each.
    EXPECT_EQ(requestsWith(BeginCmd), 2);
    EXPECT_EQ(requestsWith(WriteStartCmd), 2);

    MouseMemory expected = factoryMemory();
    expected[kV1.dpiLevelCount] = 5;
    expected[kV1.dpiLevelValue + 4] = 1;
    expected[kTail] = 4;
    expected[kTail + 1] = 251;
    expected[button(2)] = 0x03;
    expected[button(2) + 1] = 0x00;
    expected[button(2) + 2] = 0xE9;
    expected[kTail + 2] = kFactoryLedMode | 0x80;
    expected[kTail + 3] = 255 - (kFactoryLedMode | 0x80);
    EXPECT_EQ(memory(), withChecksums(expected));

    const Json doc = Json::parse(this->run({"--json", "show"}).out);
    EXPECT_EQ(doc["buttons"][1]["function"], "Volume +");
    EXPECT_EQ(doc["sensitivity"]["current"], 5);
    EXPECT_EQ(doc["sensitivity"]["levels"][4]["dpi"], 800);
}

struct BadCase {
    std::vector<std::string> args;
    std::string named;  // the argument the message names
    std::string allowed;
};

TEST_F(CtlTest, BadArgumentsExitTwoNamingTheArgumentAndWriteNothing) {
    const std::vector<BadCase> cases = {
        {{"set", "level", "9=800"}, "level 9=800", "from 1 to 8"},
        {{"set", "level", "2=999"}, "level 2=999", "500, 800, 1600"},
        {{"set", "levels", "0"}, "levels 0", "from 1 to 8"},
        {{"set", "color", "8=1"}, "color 8=1", "from 1 to 7"},
        {{"set", "color", "1=7"}, "color 1=7", "from 0 to 6"},
        {{"set", "current", "6"}, "current 6", "1 to 4"},
        {{"set", "level", "6=800"}, "level 6=800", "not in use"},
        {{"set", "button", "10", "Mute"}, "button 10 Mute", "from 1 to 9"},
        {{"set", "button", "2", "Nope"}, "button 2 Nope", "\"Volume +\""},
        {{"set", "button", "2", "fire:1,20"},
         "button 2 fire:1,20",
         "0 or a whole number from 2 to 127"},
        {{"set", "effect", "maybe"}, "effect maybe", "on or off"},
        {{"set", "mode", "nt-2"}, "mode nt-2", "breathing-1, breathing-2"},
        {{"set", "nt2-time", "5"}, "nt2-time 5", "off-time"},
        {{"set", "rise-time", "256"}, "rise-time 256", "from 0 to 255"},
        {{"set", "wheel", "3"}, "wheel", "levels N"},
        // Button 1 is the only one on the left click.
        {{"set", "button", "1", "Mute"}, "button 1 Mute", "left click"},
        {{"set", "levels"}, "levels", "a value must follow"},
        {{"set"}, "settings", "required"},
        {{"frobnicate"}, "frobnicate", ""},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.named);
        std::vector<std::string> args{"--emulate=" + memoryFile.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = runArgs(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.allowed), std::string::npos) << run.err;
        EXPECT_EQ(memory(), factoryMemory());
        if (mouse) {
            EXPECT_EQ(requestsWith(WriteStartCmd), 0);
        }
    }
}

TEST_F(CtlTest, TheLeftClickMovesToAnotherButtonInOneCall) {
    const auto run = this->run({"set", "button", "2", "Left Key", "button", "1", "Mute"});
    ASSERT_EQ(run.code, 0) << run.err;
    const Json doc = Json::parse(this->run({"--json", "show"}).out);
    EXPECT_EQ(doc["buttons"][0]["function"], "Mute");
    EXPECT_EQ(doc["buttons"][1]["function"], "Left Key");
}

TEST_F(CtlTest, AnEmulateFileThatIsNotTheMemoryIsRefusedAndLeftAsItIs) {
    const auto small = path("five.bin");
    std::ofstream(small, std::ios::binary) << "12345";
    const auto run = runArgs({"--emulate=" + small.string(), "set", "current", "2"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find(small.string() + ": holds 5 bytes"), std::string::npos) << run.err;
    EXPECT_EQ(std::filesystem::file_size(small), 5u);
}

TEST_F(CtlTest, AMissingMouseExitsOne) {
    VirtualBus empty;
    for (const std::string command : {"show", "reset", "list"}) {
        SCOPED_TRACE(command);
        CtlEnvironment environment;
        environment.hid = &empty;
        const auto run = runArgs({command}, environment);
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(command == "list" ? "No KVR5507 mouse found" : "No Device Found"),
                  std::string::npos)
            << run.err;
    }
}

TEST_F(CtlTest, AMouseThatRefusesTheWriteExitsOne) {
    ASSERT_EQ(this->run({"show"}).code, 0);
    const int readRequests = mouse->requestCount();
    // The read and the opening of the write go through; everything after that is refused.
    prepareMouse = [&](EmulatedMouse& m) {
        m.refuseRequests(readRequests + 3, EmulatedMouse::kForever, 0x01);
    };
    const auto run = this->run({"set", "current", "3"});
    EXPECT_GT(requestsWith(WriteStartCmd), 0);
    EXPECT_EQ(run.code, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(memory(), factoryMemory());
}

TEST_F(CtlTest, NothingIsWrittenToAMouseWhoseMemoryWasNotReadWhole) {
    // The third chunk of the parameter block never comes.
    prepareMouse = [](EmulatedMouse& m) { m.loseChunk(2, 2); };
    for (const std::string command : {"set", "reset", "restore", "show"}) {
        SCOPED_TRACE(command);
        const auto image = path("image.bin");
        ASSERT_TRUE(saveMemoryFile(image, factoryMemory()));
        std::vector<std::string> args{"--emulate=" + memoryFile.string(), command};
        if (command == "set") args.insert(args.end(), {"current", "3"});
        if (command == "restore") args.push_back(image.string());
        const auto run = runArgs(args);
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("could not be read whole"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(requestsWith(WriteStartCmd), 0);
    }
}

TEST_F(CtlTest, DumpAndRestoreGiveTheMemoryBack) {
    const auto image = path("image.bin");
    ASSERT_EQ(run({"dump", image.string()}).code, 0);
    EXPECT_EQ(openMemoryFile(image).memory, factoryMemory());
    ASSERT_EQ(run({"set", "levels", "2", "button", "3", "Mute", "rise-time", "40"}).code, 0);
    ASSERT_NE(memory(), factoryMemory());

    const auto restored = run({"restore", image.string()});
    ASSERT_EQ(restored.code, 0) << restored.err;
    EXPECT_EQ(memory(), factoryMemory());
}

TEST_F(CtlTest, ResetWritesTheFactorySettings) {
    ASSERT_EQ(run({"set", "levels", "7", "button", "3", "a"}).code, 0);
    ASSERT_EQ(run({"reset"}).code, 0);
    EXPECT_EQ(memory(), factoryMemory());
}

TEST_F(CtlTest, RestoreRefusesADamagedOrForeignImageAndLeavesTheMouseAlone) {
    struct Damage {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        const char* reason;
    };
    const std::vector<Damage> damages = {
        {"short", [](auto& b) { b.resize(1000); }, "1000 bytes"},
        {"long", [](auto& b) { b.push_back(0); }, "1025 bytes"},
        {"parameter block", [](auto& b) { b[kV1.riseTime] ^= 0x01; }, "parameter block"},
        {"button block", [](auto& b) { b[button(3)] ^= 0x01; }, "button block"},
        {"value pair", [](auto& b) { b[kTail + 1] ^= 0x01; }, "damaged"},
        {"identity", [](auto& b) { b[kTail + param_tail::kManufacturerId] = 0x12; },
         "another mouse"},
    };
    setMemory(withChecksums([] {
        MouseMemory m = factoryMemory();
        m[kV1.riseTime] = 77;
        return m;
    }()));
    const MouseMemory before = memory();
    for (const Damage& d : damages) {
        SCOPED_TRACE(d.what);
        const MouseMemory factory = factoryMemory();
        std::vector<std::uint8_t> bytes(factory.begin(), factory.end());
        d.damage(bytes);
        const auto file = path("damaged.bin");
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));

        const auto run = this->run({"restore", file.string()});
        EXPECT_EQ(run.code, 2) << "a bad file";
        EXPECT_NE(run.err.find(d.reason), std::string::npos) << run.err;
        EXPECT_EQ(requestsWith(WriteStartCmd), 0);
        EXPECT_EQ(memory(), before);
    }
}

TEST_F(CtlTest, HelpForEveryCommandExitsZero) {
    for (const std::string command : {"list", "show", "set", "reset", "dump", "restore"}) {
        SCOPED_TRACE(command);
        const auto run = runArgs({command, "--help"});
        EXPECT_EQ(run.code, 0);
        EXPECT_NE(run.out.find(command), std::string::npos);
    }
}

TEST_F(CtlTest, ListNamesTheEmulatedInterface) {
    const auto run = this->run({"--json", "list"});
    ASSERT_EQ(run.code, 0) << run.err;
    const Json doc = Json::parse(run.out);
    ASSERT_EQ(doc["interfaces"].size(), 1u);
    EXPECT_EQ(doc["interfaces"][0]["variant"], 1);
    EXPECT_EQ(doc["interfaces"][0]["openable"], true);
    EXPECT_EQ(doc["interfaces"][0]["featureReportLength"], 8);
    EXPECT_EQ(doc["interfaces"][0]["version"], "0102");
}

}  // namespace
}  // namespace kvr
