// Writes the seeds of the fuzz drivers that need the program's own files: profiles, memory
// images and macro areas as a mouse with macros saves them, and macros of the built-in library.
// Run by hand after a file format changed: make_seeds FOLDER (the corpus folder).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "cycle/device_macros.h"
#include "cycle/profile_file.h"
#include "fuzz/fuzz_support.h"
#include "macros/default_library.h"
#include "macros/pc_macro_library.h"

namespace {

namespace fs = std::filesystem;

void write(const fs::path& file, std::span<const std::uint8_t> bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) kvr::fuzz::broken("cannot write " + file.string());
}

std::vector<std::uint8_t> readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kvr;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds CORPUS_FOLDER\n");
        return 2;
    }
    const fs::path corpus = argv[1];
    const PCMacroSlots library = buildDefaultLibrary();

    for (int macros : {0, 3}) {
        fuzz::EmulatedSession mouse;
        for (int i = 0; i < macros; ++i) {
            mouse.session->deviceMacros().Btn_AddMacroClick(library[std::size_t(i)]);
        }
        const std::string name = "macros" + std::to_string(macros);
        const fs::path profile = fuzz::scratchPath("profile.bin");
        if (!mouse.session->profileFiles().save(profile)) fuzz::broken("no profile saved");
        write(corpus / "profile_load" / name, readAll(profile));
        const auto memory = std::span<const std::uint8_t>(mouse.mouse->memory());
        write(corpus / "memory_image" / name, memory);
        write(corpus / "memory_file" / name, memory);
        write(corpus / "device_macro_table" / name, memory.subspan(512, 512));
    }
    for (std::size_t i = 0; i < 4; ++i) {
        write(corpus / "macro_codec" / ("library" + std::to_string(i)), library[i].content);
    }
    const std::vector<std::uint8_t> bytes = libraryBytes(library);
    write(corpus / "pc_macro_library" / "one_record", std::span(bytes).first(kPCMacroRecordSize));
    write(corpus / "pc_macro_library" / "three_records",
          std::span(bytes).first(3 * kPCMacroRecordSize));
    write(corpus / "pc_macro_library" / "whole_library", bytes);
    return 0;
}
