# Windows builds: zlib from Debian's MinGW package, and the libraries Debian has no MinGW
# build of from scripts/mingw-deps.sh, which builds them into the build tree on first use.
set(TARNEL_MINGW_DEPS ${PROJECT_SOURCE_DIR}/build/mingw-deps/${CMAKE_SYSTEM_PROCESSOR}
    CACHE PATH "Where scripts/mingw-deps.sh puts the Windows builds of the libraries")
execute_process(
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/mingw-deps.sh ${CMAKE_SYSTEM_PROCESSOR}
        ${TARNEL_MINGW_DEPS}
    RESULT_VARIABLE deps_result)
if(NOT deps_result EQUAL 0)
    message(FATAL_ERROR "scripts/mingw-deps.sh could not build the Windows libraries")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${TARNEL_MINGW_DEPS})
# Static zlib: the programs ship alone, without zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
