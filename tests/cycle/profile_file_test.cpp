#include "cycle/profile_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "cycle/file_checks.h"
#include "cycle/macro_cycle_fixture.h"
#include "macros/default_library.h"
#include "params/checksum.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

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
        folder = test::makeTempFolder("kvr-profile");
        ASSERT_FALSE(folder.empty());
    }
    void TearDown() override { fs::remove_all(folder); }

    // A macro in the mouse, so the macro area is not all zero.
    void addAMacro() {
        const PCMacroSlot copy = buildDefaultLibrary()[0];
        ASSERT_EQ(macros.Btn_AddMacroClick(copy).write, WriteResult::Written);
        clearRecords();
    }

    fs::path folder;
    ProfileFiles& files = stack.profileFiles();
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
        MouseStack own({bus, pacer, presence, ui, test::englishLookup()}, image);
        own.cycle().InitNoDevice();
        bus.unplug(test::kMousePath);
        plugMouse(bus, mouse, test::kMousePath);
        own.link().DevTimerTimer();
        ASSERT_EQ(own.link().deviceVariant(), c.variant);
        ASSERT_EQ(own.cycle().ReadDevInfo(), DevInfoResult::Read);
        ASSERT_FALSE(own.cycle().macroSupport());

        ProfileFiles& ownFiles = own.profileFiles();
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
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"refreshDeviceMacroList", "showFirstPage"}));
    clearRecords();

    ASSERT_EQ(cycle.DownloadParameter(), WriteResult::Written);
    EXPECT_TRUE(std::ranges::equal(std::span(saved).subspan(73), memory(512, 512)));
    EXPECT_TRUE(std::ranges::equal(std::span(saved).subspan(45, 28), memory(64, 28)));
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

// A saved profile of the mouse with one macro, each block at its offset.
constexpr std::size_t kTail = 38;
constexpr std::size_t kMacroArea = 73;

TEST_F(ProfileFileTest, DamagedOrForeignFilesAreRefusedWithTheirReasonAndChangeNothing) {
    connectAndRead();
    addAMacro();
    ASSERT_TRUE(files.save(folder / "p.bin"));
    const Bytes valid = readAll(folder / "p.bin");
    const auto resum = [](Bytes& b) { b[37] = blockChecksum(std::span(b).first(37)); };
    struct Case {
        const char* what;
        std::function<Bytes()> file;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"a text file", [] { return Bytes(800, 'a'); }, "Str120"},
        {"the library", [] { return Bytes(kPCMacroFileSize, 0); }, "Str120"},
        {"empty", [] { return Bytes(); }, "Str120"},
        {"a byte long", [&] { Bytes b = valid; b.push_back(0); return b; }, "Str120"},
        {"the other variant", [&] { return Bytes(variant2Image(image)); }, "Str120"},
        {"parameter block", [&] { Bytes b = valid; b[28] ^= 0x01; return b; }, "Str121"},
        {"button block", [&] { Bytes b = valid; b[50] ^= 0x01; return b; }, "Str122"},
        {"value pair", [&] { Bytes b = valid; b[kTail + 1] ^= 0x01; return b; }, "Str123"},
        {"identity", [&] { Bytes b = valid; b[kTail + 5] = 0x12; return b; }, "Str124"},
        {"USB id", [&] { Bytes b = valid; b[5] ^= 0x01; resum(b); return b; }, "Str125"},
        {"capability", [&] { Bytes b = valid; b[kTail + 4] = 2; return b; }, "Str126"},
        {"no macro area", [&] { return Bytes(valid.begin(), valid.begin() + 73); }, "Str126"},
        {"macro checksum",
         [&] { Bytes b = valid; b[kMacroArea + 17] ^= 0x01; return b; }, "Str128"},
        {"macro name", [&] { Bytes b = valid; b[kMacroArea + 1] = 0x07; return b; }, "Str129"},
        {"bytes after the list",
         [&] { Bytes b = valid; b.back() = 0x01; return b; }, "Str127"},
    };
    const DeviceImages before = cycle.images();
    cycle.setMacroDirty(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(folder / "bad.bin", c.file());
        const ProfileLoad loaded = files.load(folder / "bad.bin");
        EXPECT_TRUE(loaded.read);
        ASSERT_TRUE(loaded.refusal);
        EXPECT_EQ(loaded.refusal->reason, c.reason);
        EXPECT_TRUE(std::ranges::equal(cycle.images().paramV1.bytes, before.paramV1.bytes));
        EXPECT_TRUE(std::ranges::equal(cycle.images().profile.bytes, before.profile.bytes));
        EXPECT_TRUE(std::ranges::equal(cycle.images().macroArea.bytes, before.macroArea.bytes));
        EXPECT_FALSE(cycle.macroDirty());
    }
}

// Every byte of a saved profile flipped in turn: the copy is refused and changes nothing, or (a
// byte no check covers, as a letter of a macro name) it loads and Apply writes a memory that
// passes every check.
TEST_F(ProfileFileTest, EveryByteFlippedIsRefusedOrWritesAValidMemory) {
    connectAndRead();
    addAMacro();
    ASSERT_TRUE(files.save(folder / "p.bin"));
    const Bytes valid = readAll(folder / "p.bin");
    const MouseKind kind = MouseKind::of(cycle);
    int accepted = 0;
    for (std::size_t i = 0; i < valid.size(); ++i) {
        SCOPED_TRACE(i);
        Bytes damaged = valid;
        damaged[i] ^= static_cast<std::uint8_t>(1U << (i % 8));
        writeAll(folder / "flip.bin", damaged);
        const DeviceImages before = cycle.images();
        const ProfileLoad loaded = files.load(folder / "flip.bin");
        ASSERT_TRUE(loaded.read);
        if (loaded.refusal) {
            EXPECT_TRUE(std::ranges::equal(cycle.images().macroArea.bytes, before.macroArea.bytes));
            EXPECT_TRUE(std::ranges::equal(cycle.images().paramV1.bytes, before.paramV1.bytes));
            continue;
        }
        ++accepted;
        ASSERT_EQ(cycle.DownloadParameter(), WriteResult::Written);
        EXPECT_EQ(memoryImageRefusal(memory(0, kMouseMemorySize), kind), std::nullopt);
    }
    EXPECT_LT(accepted, 40) << "only name letters may pass";
}

TEST_F(ProfileFileTest, FilesThatCannotBeReadOrWrittenChangeNothing) {
    connectAndRead();
    addAMacro();
    const DeviceImages before = cycle.images();

    const ProfileLoad missing = files.load(folder / "none.bin");
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.read.error.find("none.bin"), std::string::npos);
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
