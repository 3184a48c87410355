#include <gio/gio.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "settings/pointer_settings.h"
#include "platform/linux/pointer_store_gsettings.h"

namespace kvr {
namespace {

namespace fs = std::filesystem;

TEST(GSettingsPointerStore, TheTenSpeedsMapOntoTheDesktopScaleAndBack) {
    EXPECT_DOUBLE_EQ(GSettingsPointerStore::speedToDesktop(1), -1.0);
    EXPECT_DOUBLE_EQ(GSettingsPointerStore::speedToDesktop(10), 0.0);
    EXPECT_DOUBLE_EQ(GSettingsPointerStore::speedToDesktop(18), 1.0);
    double previous = -2;
    for (int level = 1; level <= 10; ++level) {
        const int speed = PointerSettingsModel::levelValue(PointerScale::Speed, level);
        const double desktop = GSettingsPointerStore::speedToDesktop(speed);
        EXPECT_GT(desktop, previous) << speed;
        EXPECT_EQ(GSettingsPointerStore::speedFromDesktop(desktop), speed);
        previous = desktop;
    }
    // A desktop speed between two levels shows the nearer one.
    EXPECT_EQ(GSettingsPointerStore::speedFromDesktop(0.3), 12);
    EXPECT_EQ(GSettingsPointerStore::speedFromDesktop(-0.95), 1);
    EXPECT_EQ(GSettingsPointerStore::speedFromDesktop(1.0), 18);
}

// The GNOME mouse schema compiled into a folder of its own, on GIO's in-memory settings, so
// that no test touches the settings of the desktop it runs on.
class GSettingsDesktop : public testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("GSETTINGS_BACKEND", "memory", 1);
        folder_ = fs::temp_directory_path() / ("kvr_pointer_schema_" + std::to_string(getpid()));
        fs::create_directories(folder_ / "compiled");
        if (std::string(GLIB_COMPILE_SCHEMAS).empty()) return;
        const std::string command = std::string(GLIB_COMPILE_SCHEMAS) + " --targetdir='" +
                                    (folder_ / "compiled").string() + "' '" +
                                    KVR_TEST_DATA "/pointer_schema'";
        compiled_ = std::system(command.c_str()) == 0;
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }

    void SetUp() override {
        if (!compiled_) GTEST_SKIP() << "glib-compile-schemas is not available";
        settings_ = store().hasSchema() ? makeSettings() : nullptr;
        ASSERT_NE(settings_, nullptr);
        g_settings_reset(settings_, "speed");
        g_settings_reset(settings_, "double-click");
    }
    void TearDown() override {
        if (settings_) g_object_unref(settings_);
    }

    static GSettingsPointerStore store() { return GSettingsPointerStore(compiledFolder()); }
    static std::string compiledFolder() { return (folder_ / "compiled").string(); }

    static GSettings* makeSettings() {
        GSettingsSchemaSource* source = g_settings_schema_source_new_from_directory(
            compiledFolder().c_str(), nullptr, FALSE, nullptr);
        GSettingsSchema* schema = g_settings_schema_source_lookup(
            source, std::string(GSettingsPointerStore::kSchemaId).c_str(), FALSE);
        GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
        g_settings_schema_unref(schema);
        g_settings_schema_source_unref(source);
        return settings;
    }

    static inline fs::path folder_;
    static inline bool compiled_ = false;
    GSettings* settings_ = nullptr;
};

TEST_F(GSettingsDesktop, ChosenLevelsReachTheDesktopAndShowAgainAfterARestart) {
    PointerSettingsModel model;
    GSettingsPointerStore first = store();
    model.refresh(first);
    EXPECT_EQ(model.level(PointerScale::Speed), 6) << "the desktop's default speed";
    EXPECT_EQ(model.level(PointerScale::DoubleClick), 8) << "410 ms lies nearest to the 400 ms default";
    EXPECT_EQ(model.level(PointerScale::ScrollLines), 0) << "no scroll lines on this desktop";

    model.MseSpd_OnClick(3);
    model.MseDbSpd_OnClick(2);
    model.MseScrSpd_OnClick(4);
    model.apply(first);
    EXPECT_DOUBLE_EQ(g_settings_get_double(settings_, "speed"),
                     GSettingsPointerStore::speedToDesktop(4));
    EXPECT_EQ(g_settings_get_int(settings_, "double-click"), 830);

    PointerSettingsModel restarted;
    GSettingsPointerStore second = store();
    restarted.refresh(second);
    EXPECT_EQ(restarted.level(PointerScale::Speed), 3);
    EXPECT_EQ(restarted.level(PointerScale::DoubleClick), 2);
    EXPECT_EQ(restarted.level(PointerScale::ScrollLines), 0);
}

TEST_F(GSettingsDesktop, SpeedBetweenLevelsStaysUntilAnotherLevelIsChosen) {
    g_settings_set_double(settings_, "speed", 0.3);
    GSettingsPointerStore desktop = store();
    PointerSettingsModel model;
    model.refresh(desktop);
    EXPECT_EQ(model.level(PointerScale::Speed), 7);
    model.apply(desktop);
    EXPECT_DOUBLE_EQ(g_settings_get_double(settings_, "speed"), 0.3);
    model.MseSpd_OnClick(8);
    model.apply(desktop);
    EXPECT_DOUBLE_EQ(g_settings_get_double(settings_, "speed"), 0.5);
}

TEST(GSettingsPointerStoreWithoutSchema, HoldsNothingAndNeverStops) {
    const fs::path empty =
        fs::temp_directory_path() / ("kvr_no_schema_" + std::to_string(getpid()));
    fs::create_directories(empty);
    for (const std::string& folder : {empty.string(), (empty / "missing").string()}) {
        GSettingsPointerStore desktop(folder);
        EXPECT_FALSE(desktop.hasSchema());
        EXPECT_FALSE(desktop.read(PointerValue::MouseSensitivity));
        EXPECT_FALSE(desktop.write(PointerValue::DoubleClickSpeed, 830));
        PointerSettingsModel model;
        model.MseSpd_OnClick(4);
        model.apply(desktop);
        model.refresh(desktop);
        EXPECT_EQ(model.level(PointerScale::Speed), 4) << "held while the program runs";
    }
    fs::remove_all(empty);
}

}  // namespace
}  // namespace kvr
