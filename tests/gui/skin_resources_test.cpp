#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "gui/images/gif_animation.h"
#include "gui/images/png_image.h"
#include "gui/images/pictures.h"
#include "gui/skin.h"

namespace kvr {
namespace {

struct SkinPicture {
    const char* name;
    int width;
    int height;
};

// Every picture the window and its dialogs load, with the size the layout relies on.
constexpr SkinPicture kSkin[] = {
    {"L1_BackGround", 800, 568},
    {"L2_BackGround", 800, 568},
    {"L3_BackGround", 800, 568},
    {"L1_Back1", 460, 361},
    {"L1_Back2", 705, 340},
    {"L1_Back3", 521, 236},
    {"L1_Back4", 600, 346},
    {"L2_Back1", 460, 361},
    {"L2_Back2", 705, 340},
    {"L2_Back3", 521, 236},
    {"L2_Back4", 600, 346},
    {"L3_Back1", 460, 361},
    {"L3_Back2", 705, 340},
    {"L3_Back3", 521, 236},
    {"L3_Back4", 600, 346},
    {"BtnS_01", 48, 43},
    {"BtnS_02", 48, 43},
    {"BtnS_03", 48, 43},
    {"SetS_01", 90, 30},
    {"SetS_02", 90, 30},
    {"SetS_03", 90, 30},
    {"KeyS_01", 135, 27},
    {"KeyS_02", 135, 27},
    {"WebS_01", 178, 88},
    {"WebS_02", 178, 88},
    {"WebS_03", 178, 88},
    {"Bar1_D", 24, 7},
    {"Bar1_E", 24, 7},
    {"Bar2_D", 19, 7},
    {"Bar2_E", 19, 7},
    {"CbS_D", 18, 19},
    {"CbS_E", 18, 19},
    {"RdS_D", 16, 16},
    {"RdS_E", 16, 16},
    {"MacroS_01", 80, 25},
    {"MacroS_02", 80, 25},
    {"MacroS_03", 80, 25},
    {"MacroBtnS_01", 40, 25},
    {"MacroBtnS_02", 40, 25},
    {"MacroBtnS_03", 40, 25},
    {"InsertKeyBase", 207, 162},
    {"InsertDelayBase", 207, 162},
    {"MacroIconDelay", 24, 24},
    {"MacroIconPress", 24, 24},
    {"MacroIconRelease", 24, 24},
    {"NameDlgBack", 354, 179},
    {"AssemblyDlgBack", 355, 180},
    {"DlgBtnHover", 110, 30},
    {"AppIcon64", 64, 64},
    {"AppIcon32", 32, 32},
};

// The layout takes a picture's size from the table the build wrote, without decoding.
TEST(SkinResources, EveryPictureIsBuiltInAndHasItsSize) {
    for (const SkinPicture& s : kSkin) {
        SCOPED_TRACE(s.name);
        auto data = findPicture(s.name);
        ASSERT_TRUE(data);
        auto image = decodePng(*data);
        ASSERT_TRUE(image) << image.error();
        EXPECT_EQ(image->width, s.width);
        EXPECT_EQ(image->height, s.height);
        const std::optional<PngSize> stated = findPictureSize(s.name);
        ASSERT_TRUE(stated);
        EXPECT_EQ(stated->width, s.width);
        EXPECT_EQ(stated->height, s.height);
    }
    EXPECT_FALSE(findPictureSize("WaitGif")) << "not a PNG";
    EXPECT_FALSE(findPictureSize("NoSuchPicture"));
}

// The main window and the dialogs are shaped by the pictures: opaque RGB, exact maroon
// (128, 0, 0) outside the body, never inside it.
TEST(SkinResources, ShapedPicturesAreRgbAndSeeThroughOnlyOutsideTheBody) {
    constexpr int kColourTypeOffset = 25;  // in the header chunk
    constexpr int kRgb = 2;
    for (const char* name :
         {"L1_BackGround", "L2_BackGround", "L3_BackGround", "NameDlgBack", "AssemblyDlgBack"}) {
        SCOPED_TRACE(name);
        auto data = findPicture(name);
        ASSERT_TRUE(data);
        ASSERT_GT(data->size(), std::size_t(kColourTypeOffset));
        EXPECT_EQ((*data)[kColourTypeOffset], kRgb);
        auto image = decodePng(*data);
        ASSERT_TRUE(image);
        auto pixel = [&](int x, int y) {
            const std::uint8_t* p = &image->pixels[(std::size_t(y) * image->width + x) * 4];
            return std::array<int, 3>{p[0], p[1], p[2]};
        };
        const std::array<int, 3> maroon{128, 0, 0};
        EXPECT_EQ(pixel(0, 0), maroon);
        EXPECT_EQ(pixel(image->width - 1, image->height - 1), maroon);
        int inside = 0;
        for (int y = image->height / 4; y < image->height * 3 / 4; ++y)
            for (int x = image->width / 4; x < image->width * 3 / 4; ++x)
                inside += pixel(x, y) == maroon;
        EXPECT_EQ(inside, 0);
    }
}

TEST(SkinResources, BusyAnimationLoopsTwelveFramesOfFiftyMilliseconds) {
    auto data = findPicture("WaitGif");
    ASSERT_TRUE(data);
    auto gif = decodeGif(*data);
    ASSERT_TRUE(gif) << gif.error();
    EXPECT_EQ(gif->width, 200);
    EXPECT_EQ(gif->height, 192);
    EXPECT_TRUE(gif->loops);
    EXPECT_EQ(gif->loopCount, 0);
    ASSERT_EQ(gif->frames.size(), 12u);
    for (const GifFrame& f : gif->frames) {
        EXPECT_EQ(f.delayMs, 50);
        // Black is the busy window's see-through colour: the corners must be exactly black.
        const std::vector<std::uint8_t> opaqueBlack{0, 0, 0, 255};
        EXPECT_EQ(std::vector<std::uint8_t>(f.image.pixels.begin(), f.image.pixels.begin() + 4),
                  opaqueBlack);
    }
    EXPECT_NE(gif->frames[0].image.pixels, gif->frames[1].image.pixels);
}

// Pictures decoded on the worker are the ones a plain decode gives, asked for in any letter case
// and in any order; a name the worker could not find is reported as any missing picture.
TEST(Skin, PicturesDecodedAheadAreThoseDecodedWhenAskedFor) {
    QStringList reports;
    Skin ahead([&](const QString& message) { reports << message; });
    Skin plain([](const QString&) {});
    ahead.decodeAhead({"L1_BackGround", "l1_back1", "NoSuchPicture"});
    for (const char* name : {"BtnS_01", "l1_background", "L1_Back1", "L1_BackGround"}) {
        SCOPED_TRACE(name);
        const std::optional<QImage> got = ahead.image(name);
        ASSERT_TRUE(got);
        // Decoded ahead, a picture comes in the form its pixmap keeps.
        const auto pixels = [](const QImage& image) {
            return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        EXPECT_EQ(pixels(*got), pixels(*plain.image(name)));
    }
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_FALSE(ahead.picture("NoSuchPicture"));
    EXPECT_EQ(reports.size(), 1);
}

}  // namespace
}  // namespace kvr
