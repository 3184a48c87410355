// The PC library file ("Macro.bin") and the macro files Import One and Import All take: the
// library loaded from the bytes, and the bytes imported into a library held in memory.
#include <cstdint>
#include <span>

#include "base/resources.h"
#include "fuzz/fuzz_support.h"
#include "macros/macro_checks.h"
#include "macros/pc_macro_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvr;
    const std::span<const std::uint8_t> bytes(data, size);
    const auto builtIn = findResource(kDefaultLibraryResource);
    const std::span<const std::uint8_t> defaults =
        builtIn ? *builtIn : std::span<const std::uint8_t>();

    PCMacroLibrary library(fuzz::scratchFile(bytes, "Macro.bin"));
    (void)library.CheckPCMacro(defaults);
    for (std::size_t i = 0; i < library.count(); ++i) (void)library.name(i);

    const auto file = fuzz::scratchFile(bytes, "import.bin");
    const bool sound = !macroFileRefusal(bytes, false);
    PCMacroLibrary all{std::filesystem::path()};
    (void)all.CheckPCMacro(defaults);
    const LibraryResult imported = all.importAll(file);
    if ((imported == LibraryResult::Refused) == sound) {
        fuzz::broken("Import All and the macro file check disagree");
    }
    if (imported == LibraryResult::Done) {
        for (std::size_t i = 0; i < all.count(); ++i) {
            if (libraryRecordRefusal(all.slot(i), i + 1)) {
                fuzz::broken("Import All took a record that fails its check");
            }
        }
    }
    PCMacroLibrary one{std::filesystem::path()};
    (void)one.CheckPCMacro(defaults);
    std::size_t index = 0;
    if (one.importOne(file, &index) == LibraryResult::Done &&
        libraryRecordRefusal(one.slot(index), index + 1)) {
        fuzz::broken("Import One took a record that fails its check");
    }
    return 0;
}
