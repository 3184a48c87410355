#include "cycle/profile_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "cycle/macro_cycle_fixture.h"
#include "macros/default_library.h"
#include "params/checksum.h"
#include "support/file_bytes.h"

namespace kvr {
namespace {

using test::Bytes;
using test::readAll;
using test::writeAll;

namespace fs = std::filesystem;
// A variant 2 default image: the variant 2 template, the shared tail with macros and identity
// FF FF, the default profile and an empty macro area.
Bytes variant2Image(const Bytes& v1) {
    Bytes image(kParamTemplateV2.begin(), kParamTemplateV2.end());
    image.push_back(blockChecksum(image));
    for (std::uint8_t b : {0x01, 0xFE, 0x06, 0xF9, 0x0A, 0xFF, 0xFF}) image.push_back(b);
    image.insert(image.end(), v1.begin() + 45, v1.begin() + 45 + 28);
    image.resize(image.size() + 512, 0);
    return image;
}

class ProfileFileTest : public test::MacroCycleTest {
protected:
    void SetUp() override {
        MacroCycleTest::SetUp();
        char pattern[] = "/tmp/kvr-profile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    // A macro in the mouse, so the macro area is not all zero.
    void addAMacro() {
        const PCMacroSlot copy = buildDefaultLibrary()[0];
        ASSERT_EQ(macros.Btn_AddMacroClick(copy).write, WriteResult::Written);
        clearRecords();
    }

    fs::path folder;
    ProfileFiles files{cycle, [this] { macros.ReadAndRefreshMacro2(); }};
};

TEST_F(ProfileFileTest, SavedProfileHoldsWhatApplyWritesAndTheMacroArea) {
    connectAndRead();
    addAMacro();
    sensitivity.setColorText(1, "3");  // edits the pages hold, not yet in the mouse
    light.setTimeText(TimeField::OffTime, "9");

    ASSERT_TRUE(files.save(folder / "p.bin"));
    EXPECT_TRUE(requests().empty()) << "saving talks to no mouse";

    const Bytes file = readAll(folder / "p.bin");
    ASSERT_EQ(file.size(), 585u);
    ASSERT_EQ(cycle.DownloadParameter(), WriteResult::Written);
    EXPECT_TRUE(std::ranges::equal(std::span(file).first(45), memory(0, 45)));
    EXPECT_TRUE(std::ranges::equal(std::span(file).subspan(45, 28), memory(64, 28)));
    EXPECT_TRUE(std::ranges::equal(std::span(file).subspan(73), memory(512, 512)));
    EXPECT_EQ(memory(0, 45)[28], 9);
}

TEST_F(ProfileFileTest, AMouseWithoutMacroMemorySavesItsBlocksOnly) {
    struct Case {
        int variant;
        std::size_t size;
    };
    for (const Case c : {Case{1, 73}, Case{2, 66}}) {
        SCOPED_TRACE(c.variant);
        image = c.variant == 1 ? builtInImage() : variant2Image(builtInImage());
        MouseMemory memory2 = factoryMemory();
        if (c.variant == 2) std::ranges::copy(std::span(image).first(38), memory2.begin());
        const std::size_t tail = c.variant == 1 ? 37 : 30;
        memory2[tail + 5] = 2;  // no macros
        setChecksum(memory2, tail);
        mouse = std::make_shared<EmulatedMouse>(c.variant, memory2);
        ReadWriteCycle own(image, link, protocol, PageModels{sensitivity, light, buttons}, naming,
                           ui);
        link.setImageVariant(own.imageVariant());
        own.InitNoDevice();
        bus.unplug(test::kMousePath);
        link.DevTimerTimer();
        plugMouse(bus, mouse, test::kMousePath);
        link.DevTimerTimer();
        ASSERT_EQ(link.deviceVariant(), c.variant);
        ASSERT_EQ(own.ReadDevInfo(), DevInfoResult::Read);
        ASSERT_FALSE(own.macroSupport());

        ProfileFiles ownFiles(own, {});
        ASSERT_TRUE(ownFiles.save(folder / "p.bin"));
        const Bytes file = readAll(folder / "p.bin");
        EXPECT_EQ(file.size(), c.size);
        EXPECT_TRUE(
            std::ranges::equal(std::span(file).last(28), std::span(memory2).subspan(64, 28)));
        EXPECT_TRUE(ownFiles.exportDeviceMacros(folder / "m.bin"));
        EXPECT_EQ(readAll(folder / "m.bin").size(), 0u);
    }
}

TEST_F(ProfileFileTest, ALoadedProfileReachesTheMouseWithTheNextApply) {
    connectAndRead();
    addAMacro();
    buttons.setCaption(2, "Copy");
    ASSERT_EQ(macros.Btn_SaveMacroClick(), WriteResult::Written);
    ASSERT_TRUE(files.save(folder / "p.bin"));
    const Bytes saved = readAll(folder / "p.bin");

    // The mouse is changed elsewhere; the profile brings everything back.
    ASSERT_TRUE(macros.Btn_DelMacroClick(0));
    ASSERT_EQ(macros.table().count(), 0u);
    ASSERT_EQ(buttons.caption(2), "Middle Key");
    ui.calls.clear();

    ASSERT_TRUE(files.load(folder / "p.bin"));
    EXPECT_TRUE(cycle.macroDirty());
    EXPECT_EQ(macros.table().names(), std::vector<std::string>{"Copy"});
    EXPECT_EQ(buttons.caption(2), "Copy") << "the button shows its macro again";
    EXPECT_EQ(ui.calls, std::vector<std::string>{"showFirstPage"});
    clearRecords();

    ASSERT_EQ(cycle.DownloadParameter(), WriteResult::Written);
    EXPECT_TRUE(std::ranges::equal(std::span(saved).subspan(73), memory(512, 512)));
    EXPECT_TRUE(std::ranges::equal(std::span(saved).subspan(45, 28), memory(64, 28)));
}

TEST_F(ProfileFileTest, AShortFileKeepsWhatItDoesNotCover) {
    connectAndRead();
    addAMacro();
    const auto area = cycle.images().macroArea.bytes;
    cycle.setMacroDirty(false);
    Bytes file(image.begin(), image.begin() + 73);
    file[30] = 0x33;  // a parameter byte; its checksum now fails
    writeAll(folder / "short.bin", file);

    ASSERT_TRUE(files.load(folder / "short.bin"));

    EXPECT_EQ(cycle.images().macroArea.bytes, area);
    EXPECT_TRUE(cycle.macroDirty());
    EXPECT_EQ(cycle.images().paramV1.used()[30], 0x33);
    // The damaged block shows the template values.
    EXPECT_TRUE(std::ranges::equal(std::span(cycle.dataBuf()).first(37), kParamTemplateV1));

    // Eleven bytes: only part of the parameter block changes.
    const auto profile = cycle.images().profile.bytes;
    writeAll(folder / "tiny.bin", std::span(image).first(11));
    ASSERT_TRUE(files.load(folder / "tiny.bin"));
    EXPECT_EQ(cycle.images().profile.bytes, profile);
    EXPECT_EQ(cycle.images().paramV1.used()[30], 0x33);
}

TEST_F(ProfileFileTest, TheDefaultImageLoadsAsAValidProfile) {
    connectAndRead();
    writeAll(folder / "default.bin", image);
    ASSERT_TRUE(files.load(folder / "default.bin"));
    EXPECT_TRUE(std::ranges::equal(cycle.images().paramV1.used(), std::span(image).first(45)));
    EXPECT_TRUE(
        std::ranges::equal(std::span(cycle.dataBuf()).first(38), std::span(image).first(38)))
        << "no block was repaired";
    EXPECT_EQ(buttons.codeText(7), "040420");
}

TEST_F(ProfileFileTest, AProfileOfTheOtherVariantShowsTheTemplates) {
    connectAndRead();
    const Bytes v2 = variant2Image(image);
    writeAll(folder / "v2.bin", std::span(v2).first(66 + 512));
    ASSERT_TRUE(files.load(folder / "v2.bin"));
    EXPECT_TRUE(std::ranges::equal(std::span(cycle.dataBuf()).first(37), kParamTemplateV1));
}

TEST_F(ProfileFileTest, FilesThatCannotBeReadOrWrittenChangeNothing) {
    connectAndRead();
    addAMacro();
    const DeviceImages before = cycle.images();

    const FileResult missing = files.load(folder / "none.bin");
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.error.find("none.bin"), std::string::npos);
    EXPECT_FALSE(files.load(folder));
    EXPECT_FALSE(files.save(folder / "no" / "p.bin"));
    EXPECT_FALSE(files.exportDeviceMacros(folder / "no" / "m.bin"));
    EXPECT_TRUE(std::ranges::equal(cycle.images().macroArea.bytes, before.macroArea.bytes));
    EXPECT_TRUE(std::ranges::equal(cycle.images().profile.bytes, before.profile.bytes));
    EXPECT_FALSE(fs::exists(folder / "no"));
}

TEST_F(ProfileFileTest, WithoutAMouseSaveAndLoadRefuseAndExportWritesAnEmptyFile) {
    link.setImageVariant(cycle.imageVariant());
    cycle.InitNoDevice();
    EXPECT_FALSE(files.save(folder / "p.bin"));
    EXPECT_FALSE(fs::exists(folder / "p.bin"));
    writeAll(folder / "x.bin", image);
    EXPECT_FALSE(files.load(folder / "x.bin"));
    ASSERT_TRUE(files.exportDeviceMacros(folder / "m.bin"));
    EXPECT_EQ(readAll(folder / "m.bin").size(), 0u);
}

TEST_F(ProfileFileTest, ExportWritesTheMacroArea) {
    connectAndRead();
    addAMacro();
    ASSERT_TRUE(files.exportDeviceMacros(folder / "m.bin"));
    EXPECT_TRUE(std::ranges::equal(readAll(folder / "m.bin"), memory(512, 512)));
}

TEST(ProfileFileName, BinIsAppendedOnlyWhenMissing) {
    EXPECT_EQ(withBinExtension("/home/u/x.bin"), fs::path("/home/u/x.bin"));
    EXPECT_EQ(withBinExtension("/home/u/x"), fs::path("/home/u/x.bin"));
    EXPECT_EQ(withBinExtension("/home/u/x.txt"), fs::path("/home/u/x.txt.bin"));
}

}  // namespace
}  // namespace kvr
