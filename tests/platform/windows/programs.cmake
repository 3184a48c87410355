# kvr5507ctl.exe itself under Wine, beside the Linux build's kvr5507ctl on the same files
# (KVR_LINUX_CTL, which scripts/build-windows.sh passes).
set(KVR_LINUX_CTL "" CACHE FILEPATH "kvr5507ctl of the Linux build, to compare the output with")
if(KVR_LINUX_CTL AND CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME CtlExeSaysNoMouseAndMatchesTheLinuxBuildOnWindowsPaths
             COMMAND ${CMAKE_CURRENT_LIST_DIR}/ctl_exe_test.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                     $<TARGET_FILE:kvr5507ctl> ${KVR_LINUX_CTL}
                     ${CMAKE_CURRENT_BINARY_DIR}/ctl_exe_test)
endif()
