# Flags every target of ours gets: warnings as errors, and on Windows narrow literals in
# GBK (the ANSI code page of the Simplified Chinese systems Tarnel is written for) from
# the same UTF-8 sources the Linux build reads as UTF-8. GB18030 gives the same bytes as GBK
# for every GBK character and also encodes the few characters the standard headers use
# that GBK lacks. -Wrestrict is off: GCC 12 reports false positives in std::string at -O3.
function(tarnel_target target)
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Werror>)
    if(WIN32)
        target_compile_options(${target} PRIVATE
            $<$<COMPILE_LANGUAGE:C,CXX>:-finput-charset=UTF-8 -fexec-charset=GB18030 -Wno-restrict>)
        target_compile_definitions(${target} PRIVATE
            WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    endif()
endfunction()

# GoogleTest from Debian's source package, built with the same compiler as the tests,
# so the native and the MinGW builds use one framework.
macro(tarnel_use_googletest)
    if(NOT TARGET gtest)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    endif()
endmacro()

# Registers a test program; cross builds run it through CMAKE_CROSSCOMPILING_EMULATOR.
function(tarnel_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    tarnel_target(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gmock gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
