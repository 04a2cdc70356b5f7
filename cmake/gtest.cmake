# GoogleTest: the system package natively; Debian's sources built with the
# cross compiler for Windows, where no prebuilt library exists.
if(CMAKE_CROSSCOMPILING)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # googletest 1.12 defines the GTest:: aliases itself.
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# One helper so that every test executable is discovered the same way on both
# hosts; PRE_TEST discovery survives a slow first Wine start.
function(velmora_add_gtest target)
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 ${ARGN})
endfunction()
