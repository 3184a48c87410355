// kvr5507ctl export and apply: the configuration as a TOML file, against the emulated mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "config/mouse_config.h"
#include "ctl_fixture.h"
#include "device/command_protocol.h"
#include "macros/device_macro_table.h"
#include "macros/macro_codec.h"
#include "params/checksum.h"
#include "params/param_layout.h"

namespace kvr {
namespace {

// Offsets in a variant 1 memory: ConfigFlags, the parameter checksum and the tail after it.
constexpr std::size_t kConfigFlags = 0;
constexpr std::size_t kParamChecksum = 37;
constexpr std::size_t kTail = kParamChecksum + 1;

// The hardware a mouse reports, applied to its memory before anything is set.
MouseMemory withoutMacroMemory(MouseMemory m) {
    m[kTail + param_tail::kMacroCapability] = kMacroCapabilityAbsent;
    return m;
}

MouseMemory withNTLight(MouseMemory m) {
    m[kConfigFlags] = static_cast<std::uint8_t>(m[kConfigFlags] & ~(1U << config_flag::kColorType));
    m[kParamChecksum] = blockChecksum(std::span(m).first(kParamChecksum));
    return m;
}

class CtlConfigTest : public test::CtlTest {
protected:
    test::CtlRun runLib(std::initializer_list<std::string> args) {
        std::vector<std::string> all{"--emulate=" + memoryFile.string(),
                                     "--library=" + path("Macro.bin").string()};
        all.insert(all.end(), args);
        return runArgs(all);
    }
    std::filesystem::path writeConfig(const std::string& text) {
        const auto file = path("mouse.toml");
        std::ofstream(file) << text;
        return file;
    }
    std::string exported() {
        const auto result = run({"export"});
        EXPECT_EQ(result.code, 0) << result.err;
        return result.out;
    }
    test::CtlRun apply(const std::string& text, bool dryRun = false) {
        const std::string file = writeConfig(text).string();
        return dryRun ? run({"apply", file, "--dry-run"}) : run({"apply", file});
    }
};

struct RoundTripCase {
    const char* name;
    std::function<MouseMemory(MouseMemory)> hardware;
    std::vector<std::vector<std::string>> commands;  // run with the library, in order
};

class CtlConfigRoundTrip : public CtlConfigTest,
                           public ::testing::WithParamInterface<RoundTripCase> {};

// export -> apply on a factory mouse of the same hardware -> export gives the same text, and the
// file applied to the mouse it came from writes nothing.
TEST_P(CtlConfigRoundTrip, ExportApplyExportGivesTheSameTextAndTheSameMouseWritesNothing) {
    const RoundTripCase& c = GetParam();
    const MouseMemory factory = c.hardware(factoryMemory());
    setMemory(factory);
    for (const auto& command : c.commands) {
        std::vector<std::string> all{"--emulate=" + memoryFile.string(),
                                     "--library=" + path("Macro.bin").string()};
        all.insert(all.end(), command.begin(), command.end());
        const auto result = runArgs(all);
        ASSERT_EQ(result.code, 0) << command[0] << ": " << result.err;
    }
    const MouseMemory source = memory();
    const std::string text = exported();

    const auto same = apply(text);
    ASSERT_EQ(same.code, 0) << same.err;
    EXPECT_EQ(same.out, "Nothing to change: the mouse already has these settings.\n");
    EXPECT_EQ(requestsWith(WriteStartCmd), 0);
    EXPECT_EQ(memory(), source);

    setMemory(factory);
    const auto applied = apply(text);
    ASSERT_EQ(applied.code, 0) << applied.err;
    EXPECT_EQ(exported(), text);
}

const std::vector<std::string> kSettings = {
    "set",    "levels", "6",         "level",  "3=500",          "level", "6=4000", "color",
    "5=6",    "current", "5",        "mode",   "breathing-1",    "effect", "on",    "mcpi",
    "on",     "off-time", "9",       "fall-time", "0",           "button", "2",     "Volume +",
    "button", "3",       "ctrl+shift+a", "button", "5",          "fire:5,40", "button", "9",
    "alt+f4"};

INSTANTIATE_TEST_SUITE_P(
    Mice, CtlConfigRoundTrip,
    ::testing::Values(
        RoundTripCase{"Factory", [](MouseMemory m) { return m; }, {}},
        RoundTripCase{"Settings", [](MouseMemory m) { return m; }, {kSettings}},
        RoundTripCase{"Macros",
                      [](MouseMemory m) { return m; },
                      {{"macro", "add", "Copy"},
                       {"macro", "add", "Paste"},
                       {"set", "button", "4", "macro:Paste", "button", "6", "macro:Copy"}}},
        RoundTripCase{"NoMacroMemory", withoutMacroMemory, {kSettings}},
        RoundTripCase{"NTLight",
                      withNTLight,
                      {{"set", "mode", "nt-3", "nt2-hold", "7", "button", "7", "Left Key"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CtlConfigTest, ExportNamesWhatTheMouseHasAndLeavesOutWhatItLacks) {
    const std::string factory = exported();
    EXPECT_NE(factory.find("dpi = [1600, 2400, 3200, 4000]\n"), std::string::npos) << factory;
    EXPECT_NE(factory.find("mode = \"breathing-3\"\n"), std::string::npos);
    EXPECT_NE(factory.find("2 = \"Middle Key\"\n"), std::string::npos);
    EXPECT_NE(factory.find("macros = []\n"), std::string::npos);
    EXPECT_EQ(factory.find("nt1-time"), std::string::npos) << "a breathing light has no NT times";

    ASSERT_EQ(runLib({"macro", "add", "Copy"}).code, 0);
    const std::string withMacro = exported();
    EXPECT_NE(withMacro.find("[[macros]]\nname = \"Copy\"\nevents = [\n    \"press Ctrl\",\n"
                             "    \"wait 24 ms\",\n    \"press C\",\n"),
              std::string::npos)
        << withMacro;

    setMemory(withNTLight(withoutMacroMemory(factoryMemory())));
    const std::string bare = exported();
    EXPECT_EQ(bare.find("macros"), std::string::npos) << bare;
    EXPECT_NE(bare.find("nt1-time = "), std::string::npos);
    EXPECT_EQ(bare.find("off-time"), std::string::npos);

    // To a file: the same text.
    const auto file = path("saved.toml");
    ASSERT_EQ(run({"export", file.string()}).code, 0);
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bare);
}

TEST_F(CtlConfigTest, ApplyPrintsTheChangesWritesOnceAndLeavesOutSectionsAlone) {
    const std::string before = exported();
    const MouseMemory factory = memory();
    const std::string file = "[buttons]\n2 = \"Volume +\"\n[fire]\nrepeat = 0\n";

    const auto dry = apply(file, true);
    ASSERT_EQ(dry.code, 0) << dry.err;
    EXPECT_EQ(dry.out,
              "button 2: Middle Key -> Volume +\nfire repeat: 2 -> 0\nNothing written (--dry-run).\n");
    EXPECT_EQ(requestsWith(WriteStartCmd), 0);
    EXPECT_EQ(memory(), factory);

    const auto applied = apply(file);
    ASSERT_EQ(applied.code, 0) << applied.err;
    EXPECT_EQ(applied.out, "button 2: Middle Key -> Volume +\nfire repeat: 2 -> 0\n");
    EXPECT_EQ(requestsWith(BeginCmd), 2) << "one read, one write";
    std::string expected = before;
    expected.replace(expected.find("2 = \"Middle Key\""), 16, "2 = \"Volume +\"");
    expected.replace(expected.find("repeat = 2"), 10, "repeat = 0");
    EXPECT_EQ(exported(), expected);
}

TEST_F(CtlConfigTest, MacrosAreReplacedWholeAndTheirButtonsFollowByName) {
    ASSERT_EQ(runLib({"macro", "add", "Copy"}).code, 0);
    ASSERT_EQ(runLib({"macro", "add", "Paste"}).code, 0);
    ASSERT_EQ(run({"set", "button", "4", "macro:Paste"}).code, 0);
    const MouseMemory before = memory();

    // Paste moves to the front: button 4 follows it to its new address, in one write.
    const std::string pasteOnly =
        "[[macros]]\nname = \"Paste\"\nevents = [\"press Ctrl\", \"press V\", \"release V\", "
        "\"release Ctrl\"]\n";
    const auto replaced = apply(pasteOnly);
    ASSERT_EQ(replaced.code, 0) << replaced.err;
    EXPECT_NE(replaced.out.find("macro \"Copy\": deleted"), std::string::npos) << replaced.out;
    EXPECT_EQ(requestsWith(BeginCmd), 2);
    const MouseMemory m = memory();
    const std::size_t button4 = kMemoryProfileAddress + 9;
    EXPECT_EQ(m[button4], code_class::kMacro);
    EXPECT_EQ(m[button4 + 1] << 8 | m[button4 + 2], kFirstMacroAddress);
    EXPECT_NE(exported().find("4 = \"macro:Paste\""), std::string::npos);

    // A file that drops a macro a button runs, without giving the button another function.
    setMemory(before);
    const auto dropped = apply("macros = []\n");
    EXPECT_EQ(dropped.code, 2);
    EXPECT_NE(dropped.err.find(":1:10: button 4 runs the macro \"Paste\""), std::string::npos)
        << dropped.err;
    EXPECT_EQ(memory(), before);
    const auto reassigned = apply("macros = []\n[buttons]\n4 = \"Backward\"\n");
    ASSERT_EQ(reassigned.code, 0) << reassigned.err;
    EXPECT_EQ(exported().find("[[macros]]"), std::string::npos);
}

struct DamagedCase {
    std::string text;
    const char* place;  // line:column
    const char* message;
};

TEST_F(CtlConfigTest, DamagedFilesNameTheirPlaceExitTwoAndChangeNothing) {
    const std::string manyPresses = [] {
        std::string events = "events = [";
        for (int i = 0; i < 128; ++i) events += "\"press A\", ";
        return events + "]\n";
    }();
    const std::string bigMacros = [] {
        std::string text;
        for (int m = 0; m < 5; ++m) {
            text += "[[macros]]\nname = \"M" + std::to_string(m) + "\"\nevents = [";
            for (int i = 0; i < 50; ++i) text += "\"press B\", ";
            text += "]\n";
        }
        return text;
    }();
    const std::string sixteen = [] {
        std::string text;
        for (int m = 0; m < 16; ++m) text += "[[macros]]\nname = \"N" + std::to_string(m) + "\"\n";
        return text;
    }();
    const std::vector<DamagedCase> cases = {
        {"[sensitivity\ndpi = [800]\n", "1:13", ""},
        {"colour = 3\n", "1:1", "unknown key \"colour\"; allowed here: sensitivity, light"},
        {"[light]\nspeed = 3\n", "2:1", "unknown key \"speed\" in [light]; allowed here: mode"},
        {"[sensitivity]\ncurrent = \"two\"\n", "2:11", "current must be a whole number"},
        {"[sensitivity]\ndpi = [500, 700]\n", "2:13", "a dpi must be one of 500, 800, 1200"},
        {"[sensitivity]\ndpi = [500, 500, 500, 500, 500, 500, 500, 500, 500]\n", "2:7",
         "dpi must list 1 to 8 levels"},
        {"[sensitivity]\ncolors = [1, 2]\n", "2:10", "one colour for each of the 4 levels"},
        {"[sensitivity]\ncurrent = 5\n", "2:11", "current must be from 1 to 4"},
        {"[light]\nmode = \"nt-1\"\n", "2:8", "offers the modes breathing-1, breathing-2"},
        {"[light]\nnt1-time = 3\n", "2:1", "unknown key \"nt1-time\" in [light]"},
        {"[buttons]\n2 = \"Teleport\"\n", "2:5", "FUNCTION must be a menu function"},
        {"[buttons]\n2 = \"ctrl+foo\"\n", "2:5", "a key combination such as ctrl+shift+a"},
        {"[buttons]\n10 = \"Left Key\"\n", "2:1", "unknown key \"10\" in [buttons]"},
        {"[buttons]\n1 = \"Right Key\"\n", "1:1", "no button would keep the left click"},
        {"[buttons]\n3 = \"macro:Nope\"\n", "2:5", "the mouse holds no macro named \"Nope\""},
        {"[fire]\nrepeat = 1\n", "2:10", "repeat must be 0 or from 2 to 127"},
        {"[[macros]]\nname = \"A\"\n[[macros]]\nname = \"A\"\n", "4:8", "a second macro named"},
        {"[[macros]]\nname = \"Nine char\"\n", "2:8", "1 to 8 characters"},
        {"[[macros]]\nname = \"Z\"\nevents = [\"press Ctrl\", \"press Foo\"]\n", "3:25",
         "\"press Foo\": the mouse has no key of this name"},
        {"[[macros]]\nname = \"Z\"\nevents = [\"wait 5 ms\"]\n", "3:11", "multiple of 8"},
        {"[[macros]]\nname = \"Z\"\nevents = [\"jump\"]\n", "3:11", "an event is"},
        {"[[macros]]\nname = \"Long\"\n" + manyPresses, "3:", "at most 254"},
        {bigMacros, "14:8", "the macros up to \"M4\" need more than the mouse's 512"},
        {sixteen, "31:1", "at most 15 macros"},
    };
    const MouseMemory factory = memory();
    for (const DamagedCase& c : cases) {
        SCOPED_TRACE(c.text);
        const auto result = apply(c.text);
        EXPECT_EQ(result.code, 2);
        EXPECT_EQ(result.out, "");
        const std::string prefix = path("mouse.toml").string() + ":" + c.place;
        EXPECT_EQ(result.err.rfind(prefix, 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(std::ranges::count(result.err, '\n'), 1) << "one message";
        EXPECT_EQ(requestsWith(WriteStartCmd), 0);
        EXPECT_EQ(memory(), factory);
    }

    setMemory(withoutMacroMemory(factory));
    const auto noRoom = apply("macros = []\n");
    EXPECT_EQ(noRoom.code, 2);
    EXPECT_NE(noRoom.err.find(":1:10: this mouse keeps no macros"), std::string::npos);
}

TEST(MacroEventWords, GiveBackTheSameBytesEvenForPausesTheEditorSplits) {
    // The editor writes a 2040 ms pause as FE FF FE 00; every pause and event comes back as it was.
    const auto compiled = CompileMacroLines(
        MacroLines{"10", "1 LeftKey CODE:00A1", "0 2040", modifierLine(true, 0x03), keyLine(true, 0x3E),
                   "0 24", keyLine(false, 0x3E), modifierLine(false, 0x03), "2 LeftKey CODE:0021"});
    ASSERT_TRUE(compiled);
    const std::vector<std::string> words = macroEventWords(compiled->content);
    EXPECT_EQ(words, (std::vector<std::string>{"press LeftKey", "wait 2040 ms", "wait 0 ms",
                                               "press Ctrl+Shift", "press F5", "wait 24 ms",
                                               "release F5", "release Ctrl+Shift",
                                               "release LeftKey"}));
    const EncodedMacro back = encodeMacroEvents(words);
    ASSERT_EQ(back.error, "");
    EXPECT_EQ(back.content, compiled->content);

    // A long pause written by hand takes as many events as it needs.
    const EncodedMacro longPause = encodeMacroEvents({"wait 4104 ms"});
    ASSERT_EQ(longPause.error, "");
    EXPECT_EQ(std::vector<std::uint8_t>(longPause.content.begin(), longPause.content.begin() + 7),
              (std::vector<std::uint8_t>{7, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0x03}));
}

}  // namespace
}  // namespace kvr
