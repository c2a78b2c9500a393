# GoogleTest. Cross builds compile it from the source tree that Debian's
# googletest package installs; other builds use an installed package. Without
# either, the program still builds and the tests are left out.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree (cross builds)")
if(CMAKE_CROSSCOMPILING AND EXISTS ${GTEST_SOURCE_DIR}/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    set(TREVIK_TESTS ON)
else()
    find_package(GTest)
    set(TREVIK_TESTS ${GTest_FOUND})
endif()
if(TREVIK_TESTS)
    include(GoogleTest)
else()
    message(STATUS "GoogleTest not found: building without tests")
endif()

# A Windows test program is one ctest test: every Wine start costs about a
# second, so the cases run inside one process rather than one process each.
function(trevik_windows_test target)
    add_test(NAME ${target} COMMAND ${target} ${ARGN})
    set_tests_properties(${target} PROPERTIES TIMEOUT 300)
endfunction()
