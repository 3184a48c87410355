#include "base/command_line.h"

#include <gtest/gtest.h>

namespace kvr {
namespace {

TEST(CommandLine, ReadsEveryOption) {
    struct Case {
        std::vector<std::string> args;
        bool emulate;
        std::string emulateFile;
        std::string screenshot;
    };
    const Case cases[] = {
        {{}, false, "", ""},
        {{"--emulate"}, true, "", ""},
        {{"--emulate=/tmp/m.bin"}, true, "/tmp/m.bin", ""},
        {{"--screenshot", "a.png", "--emulate"}, true, "", "a.png"},
        {{"--screenshot=b.png"}, false, "", "b.png"},
    };
    for (const Case& c : cases) {
        CommandLineResult r = parseCommandLine(c.args);
        ASSERT_TRUE(r.options) << r.error;
        EXPECT_EQ(r.options->emulate, c.emulate);
        EXPECT_EQ(r.options->emulateFile, c.emulateFile);
        EXPECT_EQ(r.options->screenshotFile, c.screenshot);
    }
    EXPECT_TRUE(parseCommandLine({"--diagnose"}).options->diagnose);
    EXPECT_FALSE(parseCommandLine({"--emulate"}).options->diagnose);
}

TEST(CommandLine, RefusesWhatItCannotUse) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--screenshot"}, {"--emulate="}, {"--frobnicate"}, {"--screenshot="}}) {
        CommandLineResult r = parseCommandLine(args);
        EXPECT_FALSE(r.options);
        EXPECT_FALSE(r.error.empty());
    }
}

}  // namespace
}  // namespace kvr
