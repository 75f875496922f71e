# GoogleTest for the Windows targets, compiled from the system's sources with the cross
# compiler (the distribution's libraries are Linux objects). Included by every Windows test
# folder; the first inclusion builds it, later ones reuse its targets.
include_guard(GLOBAL)

if(NOT TARGET GTest::gtest)
  set(TOVREL_GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources built for the Windows tests")
  if(NOT EXISTS "${TOVREL_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources not found in ${TOVREL_GOOGLETEST_SOURCE_DIR} (Debian package: googletest)")
  endif()
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_build_tests OFF CACHE BOOL "" FORCE)
  set(gtest_build_samples OFF CACHE BOOL "" FORCE)
  add_subdirectory("${TOVREL_GOOGLETEST_SOURCE_DIR}" "${PROJECT_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL)
  # Their warnings are not ours to fix; ours stay at -Wall -Wextra.
  foreach(_tovrel_gtest_target gtest gtest_main gmock gmock_main)
    target_compile_options(${_tovrel_gtest_target} PRIVATE -w)
  endforeach()
  # Newer GoogleTest releases name their targets so themselves.
  foreach(_tovrel_gtest_target gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${_tovrel_gtest_target})
      add_library(GTest::${_tovrel_gtest_target} ALIAS ${_tovrel_gtest_target})
    endif()
  endforeach()
endif()

# Each Windows test's name starts with the build it runs on (i686, the product, or its x86_64
# twin), so that a summary of both builds' runs tells them apart.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TOVREL_TEST_BUILD_NAME i686 CACHE INTERNAL "")
else()
  set(TOVREL_TEST_BUILD_NAME x86_64 CACHE INTERNAL "")
endif()

# Runs Windows test programs through the current Wine session.
set(TOVREL_WINE_EXEC "${PROJECT_SOURCE_DIR}/scripts/windows-exec.sh" CACHE FILEPATH "Runs a Windows program in the current session" FORCE)

# Registers every test case of the Windows test program `target` with CTest, listed at test
# time by running the program under Wine (the build machine may have no Wine session).
# CMake's own PRE_TEST discovery is not used: in the CMake shipped here, a reconfigure
# overwrites its generated include file with one that includes itself.
#   tovrel_discover_windows_tests(TARGET [WORKING_DIRECTORY dir] [PREFIX text]
#                                 [PROPERTIES name value ...])
# CTest has no CMAKE_ROOT, and may be another CMake's (in the emulated machine): the
# discovery script is kept beside the build.
set(TOVREL_GTEST_ADD_TESTS "${PROJECT_BINARY_DIR}/GoogleTestAddTests.cmake" CACHE INTERNAL "")
configure_file("${CMAKE_ROOT}/Modules/GoogleTestAddTests.cmake" "${TOVREL_GTEST_ADD_TESTS}" COPYONLY)
function(tovrel_discover_windows_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "WORKING_DIRECTORY;PREFIX" "PROPERTIES")
  set(arg_PREFIX "${TOVREL_TEST_BUILD_NAME}.${arg_PREFIX}")
  if(NOT arg_WORKING_DIRECTORY)
    set(arg_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
  endif()
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR "${TOVREL_WINE_EXEC}")
  set(base "${CMAKE_CURRENT_BINARY_DIR}/${target}_windows")
  set(tests_file "${base}_tests.cmake")
  string(CONCAT content
    "if(EXISTS \"$<TARGET_FILE:${target}>\")\n"
    "  if(NOT EXISTS \"${tests_file}\" OR\n"
    "     NOT \"${tests_file}\" IS_NEWER_THAN \"$<TARGET_FILE:${target}>\" OR\n"
    "     NOT \"${tests_file}\" IS_NEWER_THAN \"\${CMAKE_CURRENT_LIST_FILE}\")\n"
    "    include(\"${TOVREL_GTEST_ADD_TESTS}\")\n"
    "    gtest_discover_tests_impl(\n"
    "      TEST_EXECUTABLE [==[$<TARGET_FILE:${target}>]==]\n"
    "      TEST_EXECUTOR [==[${TOVREL_WINE_EXEC}]==]\n"
    "      TEST_WORKING_DIR [==[${arg_WORKING_DIRECTORY}]==]\n"
    "      TEST_EXTRA_ARGS [==[]==]\n"
    "      TEST_PROPERTIES [==[${arg_PROPERTIES}]==]\n"
    "      TEST_PREFIX [==[${arg_PREFIX}]==]\n"
    "      TEST_SUFFIX [==[]==]\n"
    "      TEST_FILTER [==[]==]\n"
    "      NO_PRETTY_TYPES [==[FALSE]==]\n"
    "      NO_PRETTY_VALUES [==[TRUE]==]\n"
    "      TEST_LIST [==[${target}_TESTS]==]\n"
    "      CTEST_FILE [==[${tests_file}]==]\n"
    "      TEST_DISCOVERY_TIMEOUT [==[120]==]\n"
    "      TEST_XML_OUTPUT_DIR [==[]==]\n"
    "    )\n"
    "  endif()\n"
    "  include(\"${tests_file}\")\n"
    "else()\n"
    "  add_test(${target}_NOT_BUILT ${target}_NOT_BUILT)\n"
    "endif()\n")
  file(GENERATE OUTPUT "${base}_include.cmake" CONTENT "${content}")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${base}_include.cmake")
  # The whole program in one run, for where starting a process is slow (the emulated
  # machine, scripts/windows.sh): named BUILD.whole.TARGET, labelled "whole".
  set(whole ${TOVREL_TEST_BUILD_NAME}.whole.${target})
  add_test(NAME ${whole} COMMAND ${target} WORKING_DIRECTORY "${arg_WORKING_DIRECTORY}")
  set_tests_properties(${whole} PROPERTIES TIMEOUT 3600 LABELS whole)
endfunction()
