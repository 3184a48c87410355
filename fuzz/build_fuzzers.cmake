# Configures and builds the instrumented fuzz drivers with clang: cmake -DSOURCE=... -DBUILD=...
# -DCLANGXX=... -DCLANG=... -P build_fuzzers.cmake
if(NOT EXISTS ${BUILD}/CMakeCache.txt)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BUILD} -G Ninja
                -DCMAKE_BUILD_TYPE=RelWithDebInfo
                -DCMAKE_CXX_COMPILER=${CLANGXX} -DCMAKE_C_COMPILER=${CLANG}
                -DKVR_FUZZ_BUILD=ON -DKVR_BUILD_TESTS=OFF -DKVR_BUILD_BENCH=OFF
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        file(REMOVE ${BUILD}/CMakeCache.txt)
        message(FATAL_ERROR "the fuzz build cannot be configured")
    endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target kvr_fuzzers
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the fuzz drivers do not build")
endif()
