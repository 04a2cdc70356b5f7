# SQLite for the Windows build. Debian ships no mingw SQLite, so the
# amalgamation is taken from the better-sqlite3 package on the npm registry
# into the build tree once, at configure time, and compiled here. It is never
# committed.
set(VELMORA_SQLITE_NPM_PACKAGE "better-sqlite3@12.4.1")
set(sqlite_dir ${CMAKE_BINARY_DIR}/sqlite-amalgamation)

if(NOT EXISTS ${sqlite_dir}/sqlite3.c OR NOT EXISTS ${sqlite_dir}/sqlite3.h)
  find_program(NPM_EXECUTABLE npm REQUIRED)
  set(pack_dir ${sqlite_dir}/npm-pack)
  file(MAKE_DIRECTORY ${pack_dir})
  message(STATUS "Fetching the SQLite amalgamation: npm pack ${VELMORA_SQLITE_NPM_PACKAGE}")
  execute_process(
    COMMAND ${NPM_EXECUTABLE} pack ${VELMORA_SQLITE_NPM_PACKAGE} --silent
    WORKING_DIRECTORY ${pack_dir}
    OUTPUT_VARIABLE packed OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE pack_result)
  file(GLOB tarballs ${pack_dir}/better-sqlite3-*.tgz)
  if(NOT pack_result EQUAL 0 OR NOT tarballs)
    message(FATAL_ERROR "npm pack ${VELMORA_SQLITE_NPM_PACKAGE} failed (${pack_result}): ${packed}")
  endif()
  list(GET tarballs 0 tarball)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E tar xzf ${tarball} package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
    WORKING_DIRECTORY ${pack_dir}
    RESULT_VARIABLE untar_result)
  if(NOT untar_result EQUAL 0)
    message(FATAL_ERROR "Could not unpack the SQLite amalgamation from ${tarball}")
  endif()
  file(COPY ${pack_dir}/package/deps/sqlite3/sqlite3.c ${pack_dir}/package/deps/sqlite3/sqlite3.h
       DESTINATION ${sqlite_dir})
  file(REMOVE_RECURSE ${pack_dir})
endif()

add_library(velmora_sqlite3 STATIC ${sqlite_dir}/sqlite3.c)
target_include_directories(velmora_sqlite3 SYSTEM PUBLIC ${sqlite_dir})
# One thread uses it; no extensions are loaded.
target_compile_definitions(velmora_sqlite3 PRIVATE
  SQLITE_THREADSAFE=0 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_DQS=0)
# Third-party code: our warning flags are not its concern.
target_compile_options(velmora_sqlite3 PRIVATE -w)
add_library(SQLite::SQLite3 ALIAS velmora_sqlite3)
