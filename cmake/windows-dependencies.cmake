# What the Windows build takes from outside, prepared by scripts/build-windows.sh:
#   KVR_HIDAPI_SOURCE  Debian's hidapi source package, unpacked (its Windows backend is built);
#   KVR_HEADER_ROOT    a folder that holds only CLI/, nlohmann/ and toml++/ from Debian's
#                      header-only packages, so that no other Linux header reaches mingw;
#   GoogleTest         built from Debian's sources in /usr/src/googletest.
set(KVR_HIDAPI_SOURCE "" CACHE PATH "Unpacked hidapi source package")
set(KVR_HEADER_ROOT "" CACHE PATH "Folder with the header-only libraries CLI11, nlohmann-json, toml++")
if(NOT EXISTS "${KVR_HIDAPI_SOURCE}/windows/hid.c" OR NOT EXISTS "${KVR_HEADER_ROOT}/CLI/CLI.hpp")
    message(FATAL_ERROR "Run scripts/build-windows.sh: it fetches hidapi's source and gathers the "
                        "header-only libraries (KVR_HIDAPI_SOURCE, KVR_HEADER_ROOT)")
endif()

add_library(kvr_hidapi STATIC ${KVR_HIDAPI_SOURCE}/windows/hid.c)
target_include_directories(kvr_hidapi SYSTEM PUBLIC ${KVR_HIDAPI_SOURCE}/hidapi
                                          PRIVATE ${KVR_HIDAPI_SOURCE}/windows)
# hidapi's own C is not held to our warnings.
target_compile_options(kvr_hidapi PRIVATE -w)
target_compile_definitions(kvr_hidapi PUBLIC HID_API_NO_EXPORT_DEFINE)
target_link_libraries(kvr_hidapi PUBLIC setupapi cfgmgr32 hid)

foreach(lib CLI11::CLI11 nlohmann_json::nlohmann_json tomlplusplus::tomlplusplus)
    add_library(${lib} INTERFACE IMPORTED)
    set_target_properties(${lib} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${KVR_HEADER_ROOT})
endforeach()

if(KVR_BUILD_TESTS)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # GoogleTest names its targets GTest::gtest and so on itself; its sources are not held to
    # our warnings either.
    foreach(lib gtest gtest_main gmock gmock_main)
        target_compile_options(${lib} PRIVATE -w)
    endforeach()
endif()

# mingw-w64 offers the POSIX localtime_r (over localtime_s) when asked for it.
add_compile_definitions(_POSIX_THREAD_SAFE_FUNCTIONS)
