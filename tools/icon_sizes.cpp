// Makes the application icon in the sizes desktops look for, from the largest drawn icon:
// icon_sizes SOURCE.png OUTDIR SIZE... writes OUTDIR/SIZExSIZE.png for each size.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Picture {
    int size = 0;
    std::vector<png_byte> rgba;  // rows top to bottom, premultiplied while scaling
};

bool readSquare(const char* path, Picture& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) return false;
    image.format = PNG_FORMAT_RGBA;
    if (image.width != image.height) {
        png_image_free(&image);
        return false;
    }
    out.size = static_cast<int>(image.width);
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr) != 0;
}

// Each target pixel is the average of the source area it covers, colours weighted by their
// alpha so that transparent pixels lend no colour to the edge.
Picture scaled(const Picture& source, int size) {
    Picture target{size, std::vector<png_byte>(static_cast<std::size_t>(size * size * 4))};
    const double step = static_cast<double>(source.size) / size;
    for (int ty = 0; ty < size; ++ty) {
        for (int tx = 0; tx < size; ++tx) {
            double sum[4] = {0, 0, 0, 0};
            double area = 0;
            const double y0 = ty * step, y1 = y0 + step, x0 = tx * step, x1 = x0 + step;
            for (int sy = static_cast<int>(y0); sy < std::min<double>(std::ceil(y1), source.size);
                 ++sy) {
                const double wy = std::min<double>(y1, sy + 1) - std::max<double>(y0, sy);
                for (int sx = static_cast<int>(x0);
                     sx < std::min<double>(std::ceil(x1), source.size); ++sx) {
                    const double w = wy * (std::min<double>(x1, sx + 1) - std::max<double>(x0, sx));
                    const png_byte* p =
                        &source.rgba[static_cast<std::size_t>((sy * source.size + sx) * 4)];
                    const double alpha = p[3] / 255.0;
                    for (int c = 0; c < 3; ++c) sum[c] += w * p[c] * alpha;
                    sum[3] += w * p[3];
                    area += w;
                }
            }
            png_byte* q = &target.rgba[static_cast<std::size_t>((ty * size + tx) * 4)];
            const double alpha = sum[3] / area;
            for (int c = 0; c < 3; ++c) {
                q[c] = alpha > 0 ? static_cast<png_byte>(std::lround(
                                       std::clamp(sum[c] / area / (alpha / 255.0), 0.0, 255.0)))
                                 : 0;
            }
            q[3] = static_cast<png_byte>(std::lround(alpha));
        }
    }
    return target;
}

bool write(const Picture& picture, const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.size);
    image.height = static_cast<png_uint_32>(picture.size);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, picture.rgba.data(), 0, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: icon_sizes SOURCE.png OUTDIR SIZE...\n");
        return 2;
    }
    Picture source;
    if (!readSquare(argv[1], source)) {
        std::fprintf(stderr, "icon_sizes: %s: not a square PNG picture\n", argv[1]);
        return 1;
    }
    std::filesystem::create_directories(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0) {
            std::fprintf(stderr, "icon_sizes: %s: not a size\n", argv[i]);
            return 2;
        }
        const std::string path =
            std::string(argv[2]) + "/" + std::to_string(size) + "x" + std::to_string(size) + ".png";
        if (!write(size == source.size ? source : scaled(source, size), path)) {
            std::fprintf(stderr, "icon_sizes: %s: cannot be written\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
