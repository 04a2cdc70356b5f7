# GoogleTest: the system package natively; Debian's sources built with the
# cross compiler for Windows, where no prebuilt library exists.
if(CMAKE_CROSSCOMPILING)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Third-party code, as the system package is natively: our warnings are not
  # its concern, in its sources or in its headers as our tests include them.
  foreach(target gtest gtest_main)
    target_compile_options(${target} PRIVATE -w)
    get_target_property(headers ${target} INTERFACE_INCLUDE_DIRECTORIES)
    set_target_properties(${target} PROPERTIES INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${headers}")
  endforeach()
  # googletest 1.12 defines the GTest:: aliases itself.
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# One helper so that every test executable is discovered the same way on both
# hosts; PRE_TEST discovery survives a slow first Wine start, also on a
# machine busy with other builds.
function(velmora_add_gtest target)
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 300 ${ARGN})
endfunction()
