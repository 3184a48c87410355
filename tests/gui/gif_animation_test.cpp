#include "gui/images/gif_animation.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace kvr {
namespace {

using Bytes = std::vector<unsigned char>;

// Palette of every test animation: 0 black, 1 red, 2 green, 3 blue.
constexpr GifColorType kColours[] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

struct GifImageSpec {
    int left = 0, top = 0, width = 1, height = 1;
    std::vector<GifPixelType> indices = {};  // rows top to bottom
    int disposal = DISPOSE_DO_NOT;
    int delayCs = 5;
    int transparent = NO_TRANSPARENT_COLOR;
    bool interlaced = false;
};

struct GifRecipe {
    int width = 4, height = 1;
    std::vector<GifImageSpec> images = {};
    std::optional<int> loopCount = {};  // writes the loop extension when set
    bool withColours = true;
};

int appendToBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

Bytes encode(const GifRecipe& recipe) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendToBytes, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = recipe.withColours ? GifMakeMapObject(4, kColours) : nullptr;
    EGifPutScreenDesc(gif, recipe.width, recipe.height, 2, 0, map);
    if (recipe.loopCount) {
        const GifByteType loop[] = {1, GifByteType(*recipe.loopCount & 0xFF),
                                    GifByteType(*recipe.loopCount >> 8)};
        EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
        EGifPutExtensionBlock(gif, 3, loop);
        EGifPutExtensionTrailer(gif);
    }
    for (const GifImageSpec& img : recipe.images) {
        GraphicsControlBlock gcb{img.disposal, false, img.delayCs, img.transparent};
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
        EGifPutImageDesc(gif, img.left, img.top, img.width, img.height, img.interlaced, nullptr);
        // giflib writes lines as given: an interlaced image is handed over pass by pass.
        std::vector<int> order;
        if (img.interlaced) {
            constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = kStart[pass]; y < img.height; y += kStep[pass]) order.push_back(y);
        } else {
            for (int y = 0; y < img.height; ++y) order.push_back(y);
        }
        for (int y : order) {
            std::vector<GifPixelType> line(img.indices.begin() + y * img.width,
                                           img.indices.begin() + (y + 1) * img.width);
            EGifPutLine(gif, line.data(), img.width);
        }
    }
    EGifCloseFile(gif, &error);
    if (map) GifFreeMapObject(map);
    return out;
}

// A canvas row as colour indices of kColours, -1 for transparent.
Bytes rgba(std::initializer_list<int> indices) {
    Bytes out;
    for (int i : indices) {
        if (i < 0) {
            out.insert(out.end(), {0, 0, 0, 0});
        } else {
            const GifColorType& c = kColours[i];
            out.insert(out.end(), {c.Red, c.Green, c.Blue, 255});
        }
    }
    return out;
}

TEST(GifAnimation, DisposalDecidesWhatTheNextFrameDrawsOver) {
    struct Case {
        const char* name;
        int disposalOfSecond;
        Bytes third;
    };
    const Case cases[] = {
        {"kept", DISPOSE_DO_NOT, rgba({1, 2, 3, 1})},
        {"cleared to transparent", DISPOSE_BACKGROUND, rgba({1, -1, 3, 1})},
        {"restored to the frame before", DISPOSE_PREVIOUS, rgba({1, 1, 3, 1})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GifRecipe recipe;
        recipe.images = {{0, 0, 4, 1, {1, 1, 1, 1}},
                       {.left = 1, .indices = {2}, .disposal = c.disposalOfSecond},
                       {.left = 2, .indices = {3}}};
        auto gif = decodeGif(encode(recipe));
        ASSERT_TRUE(gif) << gif.error();
        ASSERT_EQ(gif->frames.size(), 3u);
        EXPECT_EQ(gif->frames[0].image.pixels, rgba({1, 1, 1, 1}));
        EXPECT_EQ(gif->frames[1].image.pixels, rgba({1, 2, 1, 1}));
        EXPECT_EQ(gif->frames[2].image.pixels, c.third);
    }
}

TEST(GifAnimation, TransparentPixelsShowTheCanvasAndImagesAreClippedToIt) {
    GifRecipe recipe;
    recipe.images = {{.left = 0, .width = 2, .indices = {1, 1}},
                   {.left = 0, .width = 4, .indices = {0, 2, 0, 0}, .transparent = 0},
                   {.left = 3, .width = 3, .indices = {3, 3, 3}}};
    auto gif = decodeGif(encode(recipe));
    ASSERT_TRUE(gif) << gif.error();
    ASSERT_EQ(gif->frames.size(), 3u);
    EXPECT_EQ(gif->frames[0].image.pixels, rgba({1, 1, -1, -1}));
    EXPECT_EQ(gif->frames[1].image.pixels, rgba({1, 2, -1, -1}));
    EXPECT_EQ(gif->frames[2].image.pixels, rgba({1, 2, -1, 3}));
}

TEST(GifAnimation, InterlacedRowsComeOutInOrder) {
    GifRecipe recipe{.width = 1, .height = 11};
    GifImageSpec column{.width = 1, .height = 11, .interlaced = true};
    for (int y = 0; y < 11; ++y) column.indices.push_back(GifPixelType(y % 4));
    recipe.images = {column};
    auto gif = decodeGif(encode(recipe));
    ASSERT_TRUE(gif) << gif.error();
    EXPECT_EQ(gif->frames[0].image.pixels, rgba({0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2}));
}

TEST(GifAnimation, DelaysAndLoopingAreReported) {
    struct Case {
        std::optional<int> loopCount;
        bool loops;
        int count;
    };
    const Case cases[] = {{std::nullopt, false, 0}, {0, true, 0}, {3, true, 3}};
    for (const Case& c : cases) {
        GifRecipe recipe;
        recipe.loopCount = c.loopCount;
        recipe.images = {{.indices = {1}, .delayCs = 5}, {.indices = {2}, .delayCs = 12}};
        auto gif = decodeGif(encode(recipe));
        ASSERT_TRUE(gif) << gif.error();
        EXPECT_EQ(gif->width, 4);
        EXPECT_EQ(gif->height, 1);
        EXPECT_EQ(gif->loops, c.loops);
        EXPECT_EQ(gif->loopCount, c.count);
        ASSERT_EQ(gif->frames.size(), 2u);
        EXPECT_EQ(gif->frames[0].delayMs, 50);
        EXPECT_EQ(gif->frames[1].delayMs, 120);
    }
}

TEST(GifAnimation, EveryTruncationIsAnError) {
    GifRecipe recipe;
    recipe.loopCount = 0;
    recipe.images = {{0, 0, 4, 1, {1, 2, 3, 1}}, {.left = 1, .width = 2, .indices = {3, 2}}};
    const Bytes whole = encode(recipe);
    ASSERT_TRUE(decodeGif(whole));
    for (std::size_t size = 0; size < whole.size(); ++size) {
        auto gif = decodeGif(std::span(whole.data(), size));
        EXPECT_FALSE(gif) << "cut at " << size;
        EXPECT_FALSE(gif.error().empty());
    }
}

TEST(GifAnimation, DamagedDataIsAnError) {
    GifRecipe noColours;
    noColours.withColours = false;
    noColours.images = {{.indices = {1}}};

    GifRecipe noFrames;

    Bytes badRecord = encode(GifRecipe{.images = {{.indices = {1}}}});
    badRecord[badRecord.size() - 1] = 0x77;  // neither image, extension nor end

    struct Case {
        const char* name;
        Bytes data;
    };
    const Case cases[] = {
        {"not a GIF", {'G', 'I', 'X', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}},
        {"no colour table", encode(noColours)},
        {"no frames", encode(noFrames)},
        {"unknown record", badRecord},
    };
    for (const Case& c : cases) {
        auto gif = decodeGif(c.data);
        EXPECT_FALSE(gif) << c.name;
        EXPECT_FALSE(gif.error().empty()) << c.name;
    }
}

}  // namespace
}  // namespace kvr
