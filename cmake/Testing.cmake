# GoogleTest: the system's package natively; for Windows, built from the source
# that Debian's googletest package installs (override with GTEST_SOURCE_DIR).
if(WIN32 AND NOT MSVC)
    set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# A Windows test program is one ctest test: every Wine start costs about a
# second, so the cases run inside one process rather than one process each.
function(trevik_windows_test target)
    add_test(NAME ${target} COMMAND ${target} ${ARGN})
    set_tests_properties(${target} PROPERTIES TIMEOUT 300)
endfunction()
