#include "gui/images/png_image.h"

#include <gtest/gtest.h>
#include <png.h>

#include <vector>

namespace kvr {
namespace {

using Bytes = std::vector<unsigned char>;

struct PngSource {
    int width = 2;
    int height = 2;
    int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<Bytes> rows = {};         // raw rows in the file's own format
    std::vector<png_color> palette = {};  // palette pictures only
    Bytes transparency = {};              // tRNS alphas of palette entries
};

void appendToBytes(png_structp png, png_bytep data, std::size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

Bytes encode(const PngSource& s) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendToBytes, nullptr);
    png_set_IHDR(png, info, png_uint_32(s.width), png_uint_32(s.height), s.bitDepth, s.colorType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!s.palette.empty()) png_set_PLTE(png, info, s.palette.data(), int(s.palette.size()));
    if (!s.transparency.empty())
        png_set_tRNS(png, info, s.transparency.data(), int(s.transparency.size()), nullptr);
    std::vector<Bytes> rows = s.rows;
    std::vector<png_bytep> pointers;
    for (Bytes& r : rows) pointers.push_back(r.data());
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// An 8 x 8 RGBA picture with a different colour in every pixel.
Bytes gradientPicture(int width = 8, int height = 8) {
    PngSource s{width, height};
    for (int y = 0; y < height; ++y) {
        Bytes row;
        for (int x = 0; x < width; ++x) {
            row.insert(row.end(), {std::uint8_t(x * 30), std::uint8_t(y * 30), std::uint8_t(x ^ y),
                                   std::uint8_t(255 - x)});
        }
        s.rows.push_back(row);
    }
    return encode(s);
}

TEST(PngImage, EveryColourTypeBecomesRgbaBgraOrRgb) {
    struct Case {
        const char* name;
        PngSource source;
        Bytes expected;  // 2 x 2 RGBA, rows top to bottom
        bool statesAlpha;
    };
    const Case cases[] = {
        {"rgba",
         {.rows = {{10, 20, 30, 40, 50, 60, 70, 80}, {90, 100, 110, 120, 130, 140, 150, 160}}},
         {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160},
         true},
        {"rgb without alpha is opaque",
         {.colorType = PNG_COLOR_TYPE_RGB,
          .rows = {{10, 20, 30, 40, 50, 60}, {70, 80, 90, 1, 2, 3}}},
         {10, 20, 30, 255, 40, 50, 60, 255, 70, 80, 90, 255, 1, 2, 3, 255},
         false},
        {"one-bit grey",
         {.colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1, .rows = {{0x80}, {0x40}}},
         {255, 255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 255},
         false},
        {"two-bit palette with transparency",
         {.colorType = PNG_COLOR_TYPE_PALETTE,
          .bitDepth = 2,
          .rows = {{0x10}, {0x90}},
          .palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
          .transparency = {0, 128}},
         {255, 0, 0, 0, 0, 255, 0, 128, 0, 0, 255, 255, 0, 255, 0, 128},
         true},
        {"sixteen-bit grey with alpha keeps the high bytes",
         {.colorType = PNG_COLOR_TYPE_GRAY_ALPHA,
          .bitDepth = 16,
          .rows = {{0x12, 0x34, 0xFF, 0xFF, 0xAB, 0xCD, 0x80, 0x00},
                   {0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x7F, 0xFF}}},
         {0x12, 0x12, 0x12, 0xFF, 0xAB, 0xAB, 0xAB, 0x80, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = decodePng(encode(c.source));
        ASSERT_TRUE(image) << image.error();
        EXPECT_EQ(image->width, 2);
        EXPECT_EQ(image->height, 2);
        EXPECT_EQ(image->pixels, c.expected);
        auto bgra = decodePng(encode(c.source), PixelOrder::Bgra);
        ASSERT_TRUE(bgra) << bgra.error();
        Bytes blueFirst = c.expected;
        for (std::size_t i = 0; i + 3 < blueFirst.size(); i += 4) std::swap(blueFirst[i], blueFirst[i + 2]);
        EXPECT_EQ(bgra->pixels, blueFirst);
        auto rgb = decodePng(encode(c.source), PixelOrder::Rgb);
        ASSERT_TRUE(rgb) << rgb.error();
        Bytes withoutAlpha;
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            if (i % 4 != 3) withoutAlpha.push_back(c.expected[i]);
        EXPECT_EQ(rgb->pixels, withoutAlpha);
        EXPECT_EQ(pngHasAlpha(encode(c.source)), c.statesAlpha);
    }
    EXPECT_TRUE(pngHasAlpha(Bytes{1, 2, 3})) << "not a picture keeps every pixel";
}

TEST(PngImage, InterlacedPictureComesOutInRowOrder) {
    PngSource s{5, 7, PNG_COLOR_TYPE_RGB, 8, true};
    Bytes expected;
    for (int y = 0; y < s.height; ++y) {
        Bytes row;
        for (int x = 0; x < s.width; ++x) {
            const std::uint8_t r = std::uint8_t(x * 50), g = std::uint8_t(y * 35), b = 7;
            row.insert(row.end(), {r, g, b});
            expected.insert(expected.end(), {r, g, b, 255});
        }
        s.rows.push_back(row);
    }
    auto image = decodePng(encode(s));
    ASSERT_TRUE(image) << image.error();
    EXPECT_EQ(image->pixels, expected);
}

TEST(PngImage, EveryTruncationIsAnError) {
    const Bytes whole = gradientPicture();
    ASSERT_TRUE(decodePng(whole));
    for (std::size_t size = 0; size < whole.size(); ++size) {
        auto image = decodePng(std::span(whole.data(), size));
        EXPECT_FALSE(image) << "cut at " << size;
        EXPECT_FALSE(image.error().empty());
    }
}

TEST(PngImage, DamagedDataIsAnError) {
    Bytes damagedPixels = gradientPicture();
    damagedPixels[damagedPixels.size() - 20] ^= 0x55;  // inside the pixel data: its CRC fails

    Bytes notPng = gradientPicture();
    notPng[1] = 'Q';

    struct Case {
        const char* name;
        Bytes data;
    };
    const Case cases[] = {
        {"empty", {}},
        {"wrong signature", notPng},
        {"pixel data changed", damagedPixels},
        {"wider than any picture we accept", gradientPicture(9000, 1)},
    };
    for (const Case& c : cases) {
        auto image = decodePng(c.data);
        EXPECT_FALSE(image) << c.name;
        EXPECT_FALSE(image.error().empty()) << c.name;
    }
}

}  // namespace
}  // namespace kvr
