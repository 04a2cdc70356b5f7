# The warnings every C++ file of ours is built with. The presets the test
# command uses also set CMAKE_COMPILE_WARNING_AS_ERROR, so a warning fails
# that build (`cmake --build ... --compile-no-warning-as-error` while
# iterating). Each one here finds faults, not style:
#   -Wshadow              a local hiding another local; with Clang also a
#                         member, in any function but a constructor (GCC
#                         would flag every constructor parameter named after
#                         the member it sets, so it gets -Wshadow=local)
#   -Wconversion          a value silently narrowed or changed in sign
#   -Wnon-virtual-dtor    a seam interface deleted through its base
#   -Woverloaded-virtual  a handler hidden instead of overridden
#   -Wsuggest-override    an override that stopped overriding when the seam changed
#   -Wimplicit-fallthrough, -Wformat=2, -Wcast-qual, -Wundef
#   -Wmissing-declarations / -Wmissing-prototypes
#                         a helper outside an anonymous namespace, which may
#                         clash silently with another file's of the same name
#   -Wpedantic            a compiler extension another compiler rejects
#   GCC only: -Wduplicated-cond, -Wduplicated-branches, -Wlogical-op
# Signedness alone (-Wsign-conversion) is left out: here it flags int indexes
# into vectors, as the Win32 API hands them, and finds nothing.
#
# MSVC gets its own level; the GCC and Clang spellings never reach it.
if(MSVC)
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:/W4> $<$<COMPILE_LANGUAGE:CXX>:/permissive->)
else()
  set(velmora_cxx_warnings
    -Wall -Wextra -Wpedantic -Wconversion -Wnon-virtual-dtor -Woverloaded-virtual
    -Wsuggest-override -Wimplicit-fallthrough -Wformat=2 -Wcast-qual -Wundef)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    list(APPEND velmora_cxx_warnings -Wshadow=local
      -Wmissing-declarations -Wduplicated-cond -Wduplicated-branches -Wlogical-op)
  elseif(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # Clang's -Wconversion also takes in -Wsign-conversion.
    list(APPEND velmora_cxx_warnings -Wshadow -Wmissing-prototypes -Wno-sign-conversion)
  endif()
  add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:${velmora_cxx_warnings}>")
endif()
