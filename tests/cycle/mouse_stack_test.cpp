#include "cycle/mouse_stack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cycle/macro_cycle_fixture.h"
#include "macros/default_library.h"
#include "support/temp_folder.h"

namespace kvr {
namespace {

using Names = std::vector<std::string>;

class MouseStackTest : public test::MacroCycleTest {};

// The window redraws its device macro list from the mouse's macro table: whatever replaced the
// macro area (a read, Reset, a loaded profile), the table already follows it by then, and the
// buttons are named after the macros they run.
TEST_F(MouseStackTest, TheMacroListOnShowFollowsEveryNewMacroArea) {
    std::vector<Names> shown;
    ui.onRefreshDeviceMacroList = [&] { shown.push_back(macros.table().names()); };
    connectAndRead();
    ASSERT_EQ(macros.Btn_AddMacroClick(buildDefaultLibrary()[0]).write, WriteResult::Written);
    const Names one = macros.table().names();
    ASSERT_EQ(one.size(), 1u);
    const std::filesystem::path folder = test::makeTempFolder("kvr-stack");
    ASSERT_FALSE(folder.empty());
    const std::filesystem::path profile = folder / "p.bin";
    ASSERT_TRUE(stack.profileFiles().save(profile));

    struct Step {
        const char* name;
        std::function<void()> run;
        Names expected;
    };
    const Step steps[] = {
        {"read", [&] { EXPECT_EQ(cycle.ReadDevInfo(), DevInfoResult::Read); }, one},
        {"reset", [&] { EXPECT_EQ(cycle.DefaultParameter(), WriteResult::Written); }, {}},
        {"profile loaded", [&] { EXPECT_TRUE(stack.profileFiles().load(profile)); }, one},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        shown.clear();
        step.run();
        EXPECT_EQ(shown, std::vector<Names>{step.expected});
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kvr
