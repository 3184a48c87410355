#include "base/resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "base/language_table.h"
#include "base/layout_config.h"
#include "layout_fake.h"

namespace kvr {
namespace {

TEST(Resources, UnknownNameIsNotFound) { EXPECT_FALSE(findResource("NoSuchResource")); }

// The command line links the core's table: the skin's pictures belong to the window alone.
TEST(Resources, TheCoreCarriesNoPicture) {
    const std::string_view png = "\x89PNG", gif = "GIF8";
    for (const EmbeddedResource* r = kEmbeddedResources; r->name != nullptr; ++r) {
        const std::string_view start(reinterpret_cast<const char*>(r->data),
                                     std::min<std::size_t>(r->size, 4));
        EXPECT_NE(start, png) << r->name;
        EXPECT_NE(start, gif) << r->name;
    }
    EXPECT_FALSE(findResource("L1_BackGround"));
    EXPECT_FALSE(findResource("WaitGif"));
}

TEST(Resources, EveryBuiltInTableReadsWhole) {
    for (int n = 1; n <= 3; ++n) {
        const LayoutConfigResult layout = LayoutConfig::load(n);
        ASSERT_TRUE(layout.config) << layout.error;
        test::RecordingWindow window;
        LayoutValues values;
        const ApplyResult applied = applyLayoutTable(*layout.config, window, values);
        EXPECT_TRUE(applied.ok()) << applied.error;
        EXPECT_TRUE(window.unknownControls.empty());

        const LanguageTableResult language = LanguageTable::LoadLanguageTable(n);
        ASSERT_TRUE(language.table) << language.error;
        EXPECT_EQ(language.table->keys().size(), 120u);
    }

    test::RecordingWindow window;
    OrgSection org;
    const ApplyResult loaded = LoadOrgSection(window, org);
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    EXPECT_EQ(org.WebAddress.rfind("https://example.org/", 0), 0u) << org.WebAddress;
    EXPECT_EQ(org.ReserveVendorId, 0);
    EXPECT_EQ(org.ReserveProductId, 0);
    for (int p = 1; p <= 4; ++p) {
        const std::string n = std::to_string(p);
        EXPECT_EQ(window.at("Img_Web_" + n).position(), std::pair(317, 495));
        EXPECT_EQ(window.at("Btn_Web_" + n).geometry(), test::Rect(317, 495, 178, 88));
    }
}

}  // namespace
}  // namespace kvr
