// Writes the built-in macro library "PCMacroData" from the ready-made macros:
//     make_macro_library resources/data/PCMacroData.bin
// Run it after changing macros/default_library.cpp; a test fails while the two differ.
#include <iostream>

#include "base/file_io.h"
#include "macros/default_library.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_macro_library OUTPUT\n";
        return 2;
    }
    const kvr::FileResult saved =
        kvr::writeFileAtomically(argv[1], kvr::libraryBytes(kvr::buildDefaultLibrary()));
    if (!saved) {
        std::cerr << saved.error << '\n';
        return 1;
    }
    return 0;
}
