#include "settings/pointer_settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/memory_pointer_store.h"

namespace kvr {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

// A desktop with the usual settings: pointer speed 10, acceleration 6/10/1, double-click 500 ms,
// three scroll lines.
MemoryPointerStore usualDesktop() {
    MemoryPointerStore store;
    store.values = {{PointerValue::MouseSensitivity, 10},  {PointerValue::MouseThreshold1, 6},
                    {PointerValue::MouseThreshold2, 10},   {PointerValue::MouseSpeed, 1},
                    {PointerValue::DoubleClickSpeed, 500}, {PointerValue::WheelScrollLines, 3}};
    return store;
}

TEST(PointerSettings, LevelTablesReadBothWays) {
    using M = PointerSettingsModel;
    for (int level = 1; level <= 10; ++level) {
        for (PointerScale scale :
             {PointerScale::Speed, PointerScale::DoubleClick, PointerScale::ScrollLines}) {
            EXPECT_EQ(M::levelOf(scale, M::levelValue(scale, level)), level);
        }
    }
    EXPECT_EQ(M::levelValue(PointerScale::Speed, 1), 1);
    EXPECT_EQ(M::levelValue(PointerScale::Speed, 10), 18);
    EXPECT_EQ(M::levelValue(PointerScale::DoubleClick, 1), 900);
    EXPECT_EQ(M::levelValue(PointerScale::DoubleClick, 10), 270);
    EXPECT_EQ(M::levelValue(PointerScale::ScrollLines, 0), 0);
    EXPECT_EQ(M::levelOf(PointerScale::Speed, 7), 0);
    EXPECT_EQ(M::levelOf(PointerScale::DoubleClick, 500), 0);
}

TEST(PointerSettings, ReadShowsLevelsAndApplyStoresTheChosenOnesThenAppliesEverything) {
    MemoryPointerStore store = usualDesktop();
    PointerSettingsModel model;
    model.refresh(store);
    EXPECT_EQ(model.level(PointerScale::Speed), 6);
    EXPECT_EQ(model.level(PointerScale::DoubleClick), 7) << "480 ms lies nearest to 500 ms";
    EXPECT_EQ(model.level(PointerScale::ScrollLines), 3);

    ASSERT_TRUE(model.MseSpd_OnClick(3));
    model.apply(store);
    EXPECT_THAT(store.changes(), ElementsAre("write MouseSensitivity 4", "write WheelScrollLines 3",
                                             "applyPointerSpeed 4", "applyAcceleration 6 10 1",
                                             "applyDoubleClickTime 500", "applyScrollLines 3"));
    EXPECT_EQ(store.values[PointerValue::MouseSensitivity], 4);
    EXPECT_EQ(store.values[PointerValue::DoubleClickSpeed], 500);
}

TEST(PointerSettings, ClicksSetTheirOwnScaleOnly) {
    PointerSettingsModel model;
    EXPECT_TRUE(model.MseDbSpd_OnClick(2));
    EXPECT_TRUE(model.MseScrSpd_OnClick(10));
    for (int outside : {0, 11, -1}) EXPECT_FALSE(model.MseSpd_OnClick(outside));
    EXPECT_EQ(model.level(PointerScale::Speed), 0);
    EXPECT_EQ(model.level(PointerScale::DoubleClick), 2);
    EXPECT_EQ(model.level(PointerScale::ScrollLines), 10);

    MemoryPointerStore store;
    model.apply(store);
    EXPECT_THAT(store.changes(),
                ElementsAre("write DoubleClickSpeed 830", "write WheelScrollLines 10",
                            "applyDoubleClickTime 830", "applyScrollLines 10"));
}

TEST(PointerSettings, ValueBetweenLevelsLightsTheNearestAndIsAppliedAsReadUntilClicked) {
    struct Case {
        PointerValue stored;
        PointerScale scale;
        int desktop;
        int shown;
    };
    const Case cases[] = {
        {PointerValue::MouseSensitivity, PointerScale::Speed, 7, 4},  // 6 and 8 as near: the lower
        {PointerValue::DoubleClickSpeed, PointerScale::DoubleClick, 400, 8},  // the desktop's default
        {PointerValue::DoubleClickSpeed, PointerScale::DoubleClick, 1200, 1},
        {PointerValue::WheelScrollLines, PointerScale::ScrollLines, 20, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desktop);
        MemoryPointerStore store;
        store.values = {{c.stored, c.desktop}};
        PointerSettingsModel model;
        model.refresh(store);
        EXPECT_EQ(model.level(c.scale), c.shown);
        model.apply(store);
        EXPECT_EQ(store.values[c.stored], c.desktop) << "a value the owner did not pick stays";

        ASSERT_TRUE(model.segmentClicked(c.scale, 2));
        model.apply(store);
        EXPECT_EQ(store.values[c.stored], PointerSettingsModel::levelValue(c.scale, 2));
    }
}

TEST(PointerSettings, NothingNeverReadNorChosenIsApplied) {
    struct Case {
        const char* desktop;
        std::map<PointerValue, int> values;
    };
    const Case cases[] = {
        {"no settings at all", {}},
        // 0 would reset speed and double-click time to the desktop's defaults.
        {"zero speed and time",
         {{PointerValue::MouseSensitivity, 0}, {PointerValue::DoubleClickSpeed, 0}}},
        {"part of the acceleration",
         {{PointerValue::MouseThreshold1, 6}, {PointerValue::MouseSpeed, 1}}},
    };
    for (const Case& c : cases) {
        MemoryPointerStore store;
        store.values = c.values;
        PointerSettingsModel model;
        model.refresh(store);
        model.apply(store);
        EXPECT_THAT(store.changes(), IsEmpty()) << c.desktop;
        EXPECT_FALSE(model.value(PointerScale::Speed)) << c.desktop;
    }

    // A zero read later leaves the value known before it.
    MemoryPointerStore store = usualDesktop();
    PointerSettingsModel model;
    model.refresh(store);
    store.values[PointerValue::DoubleClickSpeed] = 0;
    model.refresh(store);
    EXPECT_EQ(model.value(PointerScale::DoubleClick), 500);
}

TEST(PointerSettings, DesktopWithoutAPlaceHoldsTheChosenLevelWhileRunning) {
    MemoryPointerStore store;
    store.withoutPlace = {PointerValue::WheelScrollLines};
    PointerSettingsModel model;
    model.MseScrSpd_OnClick(5);
    model.apply(store);
    EXPECT_THAT(store.changes(), ElementsAre("write WheelScrollLines 5", "applyScrollLines 5"));
    EXPECT_FALSE(store.values.contains(PointerValue::WheelScrollLines));
    model.refresh(store);
    EXPECT_EQ(model.level(PointerScale::ScrollLines), 5);
}

}  // namespace
}  // namespace kvr
