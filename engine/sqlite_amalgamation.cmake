# SQLite for every build: the amalgamation that ships in ParseTarn.exe is the
# one the native tests, the fuzzers and the Linux engine use too. Debian ships
# no mingw SQLite, so it is taken from the better-sqlite3 package on the npm
# registry into the build tree at configure time, checked against the hashes
# below, and compiled here. It is never committed.
#
# To move to another SQLite: change the package, then the two hashes, which
# `sha256sum package/deps/sqlite3/sqlite3.[ch]` prints after
# `npm pack PACKAGE && tar xzf better-sqlite3-*.tgz`.
set(VELMORA_SQLITE_NPM_PACKAGE "better-sqlite3@12.4.1")  # SQLite 3.50.4
set(VELMORA_SQLITE_SHA256_sqlite3.c 90b7189566ea710ee18361b25d893f5cda3fcf43033223a16384762f53e99a85)
set(VELMORA_SQLITE_SHA256_sqlite3.h abd1514e0351f79393d1be882830afdb40a8099e8257f311f0bfdf8486f11bea)
set(sqlite_dir ${CMAKE_BINARY_DIR}/sqlite-amalgamation)

# Names in `dir` each file whose content is not the pinned one; "" when both are.
function(velmora_sqlite_mismatches dir out)
  set(bad "")
  foreach(name sqlite3.c sqlite3.h)
    set(actual "")
    if(EXISTS ${dir}/${name})
      file(SHA256 ${dir}/${name} actual)
    endif()
    if(NOT actual STREQUAL "${VELMORA_SQLITE_SHA256_${name}}")
      list(APPEND bad "${name} (sha256 ${actual}, expected ${VELMORA_SQLITE_SHA256_${name}})")
    endif()
  endforeach()
  set(${out} "${bad}" PARENT_SCOPE)
endfunction()

# Checked on every configure, so a damaged or stale copy is fetched again
# rather than compiled.
velmora_sqlite_mismatches(${sqlite_dir} sqlite_bad)
if(sqlite_bad)
  find_program(NPM_EXECUTABLE npm)
  if(NOT NPM_EXECUTABLE)
    message(FATAL_ERROR "npm is needed once to fetch the SQLite amalgamation (${VELMORA_SQLITE_NPM_PACKAGE}); "
                        "scripts/install-deps.sh installs it.")
  endif()
  set(pack_dir ${sqlite_dir}-fetch)
  file(REMOVE_RECURSE ${pack_dir})
  file(MAKE_DIRECTORY ${pack_dir})
  message(STATUS "Fetching the SQLite amalgamation: npm pack ${VELMORA_SQLITE_NPM_PACKAGE}")
  execute_process(
    COMMAND ${NPM_EXECUTABLE} pack ${VELMORA_SQLITE_NPM_PACKAGE} --silent
    WORKING_DIRECTORY ${pack_dir}
    OUTPUT_VARIABLE packed OUTPUT_STRIP_TRAILING_WHITESPACE
    ERROR_VARIABLE pack_errors
    RESULT_VARIABLE pack_result)
  file(GLOB tarballs ${pack_dir}/better-sqlite3-*.tgz)
  if(NOT pack_result EQUAL 0 OR NOT tarballs)
    message(FATAL_ERROR "npm pack ${VELMORA_SQLITE_NPM_PACKAGE} failed (${pack_result}): ${packed} ${pack_errors}")
  endif()
  list(GET tarballs 0 tarball)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar xzf ${tarball} package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
    WORKING_DIRECTORY ${pack_dir}
    RESULT_VARIABLE untar_result)
  if(NOT untar_result EQUAL 0)
    message(FATAL_ERROR "Could not unpack the SQLite amalgamation from ${tarball}")
  endif()
  velmora_sqlite_mismatches(${pack_dir}/package/deps/sqlite3 fetched_bad)
  if(fetched_bad)
    # Left in place for a look; never compiled.
    message(FATAL_ERROR "The SQLite amalgamation in ${VELMORA_SQLITE_NPM_PACKAGE} is not the pinned one: "
                        "${fetched_bad}. The package on the registry has changed, or the download was damaged; "
                        "see ${pack_dir}. Nothing was built from it.")
  endif()
  # Only checked files take the place of the old ones.
  file(REMOVE_RECURSE ${sqlite_dir})
  file(RENAME ${pack_dir}/package/deps/sqlite3 ${sqlite_dir})
  file(REMOVE_RECURSE ${pack_dir})
endif()

add_library(velmora_sqlite3 STATIC ${sqlite_dir}/sqlite3.c)
target_include_directories(velmora_sqlite3 SYSTEM PUBLIC ${sqlite_dir})
# One thread uses it; no extensions are loaded. On Windows a file is read
# and written at a place by seeking first rather than through an OVERLAPPED
# offset: under Wine each OVERLAPPED call on a file costs a round trip to
# the Wine server besides the I/O itself (6,306 of the engine's 8,875 server
# calls on 20 MB).
target_compile_definitions(velmora_sqlite3 PRIVATE
  SQLITE_THREADSAFE=0 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_DQS=0
  SQLITE_WIN32_NO_OVERLAPPED)
# Third-party code: our warning flags are not its concern.
target_compile_options(velmora_sqlite3 PRIVATE -w)
add_library(SQLite::SQLite3 ALIAS velmora_sqlite3)
