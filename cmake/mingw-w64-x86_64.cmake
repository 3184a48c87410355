# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix thread model, for
# std::thread and std::mutex). The programs are linked statically: kvr5507ctl.exe is one file
# to copy, and the tests run under Wine without any DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KVR_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${KVR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KVR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KVR_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KVR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Build-time tools and the tests run under Wine.
find_program(KVR_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(KVR_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KVR_WINE})
endif()
