// Writes a C++ source that holds the given files as byte arrays, named by file stem, in a table
// of the given name (the core's tables, or the window's pictures). A PNG picture's entry also
// holds the width and height its header states. Files with the same bytes (the layouts share
// several pictures) are held once.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

// "W, H" from a PNG header (signature, then the IHDR chunk); "0, 0" for any other file.
std::string pngSize(const std::vector<unsigned char>& bytes) {
    static constexpr unsigned char kStart[] = {137, 80, 78, 71, 13, 10, 26, 10,
                                               0,   0,  0,  13, 'I', 'H', 'D', 'R'};
    constexpr std::size_t kSizeAt = sizeof kStart;
    if (bytes.size() < kSizeAt + 8 || !std::equal(std::begin(kStart), std::end(kStart), bytes.begin()))
        return "0, 0";
    const auto bigEndian = [&bytes](std::size_t at) {
        return std::to_string(unsigned(bytes[at]) << 24 | unsigned(bytes[at + 1]) << 16 |
                              unsigned(bytes[at + 2]) << 8 | unsigned(bytes[at + 3])) +
               "u";
    };
    return bigEndian(kSizeAt) + ", " + bigEndian(kSizeAt + 4);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: embed_resources OUT.cpp TABLE FILE...\n");
        return 2;
    }
    constexpr int kFirstFile = 3;
    std::string out;
    out += "#include \"base/resources.h\"\n\nnamespace {\n";
    std::vector<std::string> names;
    std::vector<std::string> sizes;
    // Each file's array: its own, or that of the first file with the same bytes.
    std::vector<int> arrays;
    std::map<std::vector<unsigned char>, int> firstWithBytes;
    for (int i = kFirstFile; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "embed_resources: cannot read %s\n", argv[i]);
            return 1;
        }
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
        names.push_back(std::filesystem::path(argv[i]).stem().string());
        sizes.push_back(pngSize(bytes));
        const auto [first, isNew] = firstWithBytes.emplace(bytes, i);
        arrays.push_back(first->second);
        if (!isNew) continue;
        out += "const unsigned char r" + std::to_string(i) + "[] = {";
        for (size_t k = 0; k < bytes.size(); ++k) {
            if (k % 24 == 0) out += "\n";
            out += std::to_string(bytes[k]) + ",";
        }
        if (bytes.empty()) out += "0";
        out += "};\n";
    }
    out += "}  // namespace\n\nnamespace kvr {\nextern const EmbeddedResource " + std::string(argv[2]) +
           "[];\nconst EmbeddedResource " + std::string(argv[2]) + "[] = {\n";
    for (int i = kFirstFile; i < argc; ++i) {
        const std::string& n = names[i - kFirstFile];
        const std::string array = "r" + std::to_string(arrays[i - kFirstFile]);
        out += "    {\"" + n + "\", " + array + ", " +
               (std::filesystem::file_size(argv[i]) == 0 ? std::string("0")
                                                         : "sizeof(" + array + ")") +
               ", " + sizes[i - kFirstFile] + "},\n";
    }
    out += "    {nullptr, nullptr, 0}};\n}  // namespace kvr\n";

    std::filesystem::create_directories(std::filesystem::path(argv[1]).parent_path());
    std::ofstream o(argv[1], std::ios::binary);
    o << out;
    return o ? 0 : 1;
}
