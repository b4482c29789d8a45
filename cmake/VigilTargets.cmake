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

# vigil_wine_test(<name> SOURCES ... LIBS ... [ENV k=v ...] [TIMEOUT s]): a Windows test run
# through Wine by ctest (the emulator is set by the top-level CMakeLists.txt).
function(vigil_wine_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENV" ${ARGN})
    if(NOT WIN32 OR NOT VIGIL_BUILD_TESTS)
        return()
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "VIGIL_WINE_PREFIX=${VIGIL_WINE_PREFIX};VIGIL_SOURCE_DIR=${CMAKE_SOURCE_DIR};VIGIL_BINARY_DIR=${CMAKE_BINARY_DIR};${T_ENV}")
endfunction()

# vigil_wine_script_test(<name> COMMAND ... [TIMEOUT s]): an end-to-end test driven by a
# script on the Linux side (Python), which starts servers and Windows programs itself.
function(vigil_host_driven_test name)
    cmake_parse_arguments(T "" "TIMEOUT" "COMMAND;ENV" ${ARGN})
    if(NOT WIN32 OR NOT VIGIL_BUILD_TESTS)
        return()
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_test(NAME ${name} COMMAND ${T_COMMAND})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "VIGIL_WINE_PREFIX=${VIGIL_WINE_PREFIX};VIGIL_SOURCE_DIR=${CMAKE_SOURCE_DIR};VIGIL_BINARY_DIR=${CMAKE_BINARY_DIR};VIGIL_WINE_RUN=${CMAKE_SOURCE_DIR}/tools/wine-run.sh;${T_ENV}")
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
