# Flags every target of ours gets: all warnings (errors with TARNEL_WERROR, as the presets
# and CI build), and on Windows narrow literals in GBK (the ANSI code page of the
# Simplified Chinese systems Tarnel is written for) from the same UTF-8 sources the Linux
# build reads as UTF-8. GB18030 gives the same bytes as GBK for every GBK character and
# also encodes the few characters the standard headers use that GBK lacks.
function(tarnel_target target)
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra $<$<BOOL:${TARNEL_WERROR}>:-Werror>>)
    if(WIN32)
        target_compile_options(${target} PRIVATE
            $<$<COMPILE_LANGUAGE:C,CXX>:-finput-charset=UTF-8 -fexec-charset=GB18030>)
        target_compile_definitions(${target} PRIVATE
            WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
    endif()
endfunction()

# GCC 12 reports -Wrestrict inside std::string's inlined code at -O2 and above where no
# overlap can happen; silenced only for the sources where it does.
function(tarnel_no_string_restrict_warning)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS -Wno-restrict)
    endif()
endfunction()

# GoogleTest: built with the project's compiler from TARNEL_GOOGLETEST_SOURCE when set,
# else the installed package.
function(tarnel_use_googletest)
    if(TARNEL_GOOGLETEST_SOURCE)
        if(NOT EXISTS ${TARNEL_GOOGLETEST_SOURCE}/CMakeLists.txt)
            message(FATAL_ERROR "TARNEL_GOOGLETEST_SOURCE=${TARNEL_GOOGLETEST_SOURCE} holds no "
                "GoogleTest sources (Debian: apt install googletest)")
        endif()
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
        add_subdirectory(${TARNEL_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    else()
        find_package(GTest REQUIRED)
    endif()
endfunction()

# Registers a test program; cross builds run it through CMAKE_CROSSCOMPILING_EMULATOR.
function(tarnel_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    tarnel_target(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
