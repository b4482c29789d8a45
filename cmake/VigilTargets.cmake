# Helpers shared by every area's CMakeLists.txt.

# vigil_unit_test(<name> SOURCES ... LIBS ...): a host unit test of portable logic.
function(vigil_unit_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    if(WIN32 OR NOT VIGIL_BUILD_TESTS)
        return()
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
endfunction()

# Gives a Windows-side test its time limit and tells it where the trees, the Wine prefix and
# the Wine runner are, and the bitness under test: VIGIL_WINE_BITS (64 or 32) makes the runner
# start built-in programs named without a path (cscript, regsvr32, reg) as that bitness, and
# VIGIL_WINE_SYSTEM_DIR is the Unix path of that bitness's system folder (system32 or syswow64).
function(vigil_set_wine_test_properties name timeout env)
    if(NOT timeout)
        set(timeout 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${timeout}
        ENVIRONMENT "VIGIL_WINE_PREFIX=${VIGIL_WINE_PREFIX};VIGIL_WINE_BITS=${VIGIL_WINE_BITS};VIGIL_WINE_SYSTEM_DIR=${VIGIL_WINE_SYSTEM_DIR};VIGIL_SOURCE_DIR=${CMAKE_SOURCE_DIR};VIGIL_BINARY_DIR=${CMAKE_BINARY_DIR};VIGIL_WINE_RUN=${CMAKE_SOURCE_DIR}/tools/wine-run.sh;${env}")
endfunction()

# vigil_wine_test(<name> SOURCES ... LIBS ... [ENV k=v ...] [TIMEOUT s]): a Windows test run
# through Wine by ctest (the emulator is set by the top-level CMakeLists.txt).
function(vigil_wine_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
    if(NOT WIN32 OR NOT VIGIL_BUILD_TESTS)
        return()
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    vigil_set_wine_test_properties(${name} "${T_TIMEOUT}" "${T_ENV}")
endfunction()

# vigil_host_driven_test(<name> COMMAND ... [ENV k=v ...] [TIMEOUT s]): an end-to-end test
# driven by a script on the Linux side (Python), which starts servers and Windows programs itself.
function(vigil_host_driven_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "COMMAND;ENV" ${ARGN})
    if(NOT WIN32 OR NOT VIGIL_BUILD_TESTS)
        return()
    endif()
    add_test(NAME ${name} COMMAND ${T_COMMAND})
    vigil_set_wine_test_properties(${name} "${T_TIMEOUT}" "${T_ENV}")
endfunction()

# vigil_add_area_folders(): adds every subfolder of the current folder that has a
# CMakeLists.txt (tests/ and bench/ hold one folder an area).
function(vigil_add_area_folders)
    file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
    foreach(entry ${entries})
        if(IS_DIRECTORY ${entry} AND EXISTS ${entry}/CMakeLists.txt)
            add_subdirectory(${entry})
        endif()
    endforeach()
endfunction()

# vigil_windows_binary(<target>): common settings of a deliverable.
function(vigil_windows_binary target)
    if(NOT WIN32)
        return()
    endif()
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
        $<$<CONFIG:Release>:-s>) # the release binaries ship without symbols
    set_target_properties(${target} PROPERTIES PREFIX "")
endfunction()
