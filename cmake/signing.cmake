# Authenticode signatures on every file the Windows build ships, when it is
# given a certificate: VELMORA_SIGN_PFX, a PKCS#12 file, and
# VELMORA_SIGN_PASSWORD_FILE, a file holding its password (a file, so that the
# password is never on a command line a build log or another user could see);
# VELMORA_SIGN_TIMESTAMP_URL optionally names an RFC 3161 timestamp server.
# Each is taken from the environment when set there, and kept in the cache
# for later builds; an empty VELMORA_SIGN_PFX builds unsigned again.
foreach(setting VELMORA_SIGN_PFX VELMORA_SIGN_PASSWORD_FILE VELMORA_SIGN_TIMESTAMP_URL)
  if(DEFINED ENV{${setting}})
    set(${setting} "$ENV{${setting}}" CACHE STRING "" FORCE)
  endif()
endforeach()

# Only the Windows build ships anything to sign.
set(VELMORA_SIGN_SCRIPT "")
if(WIN32 AND VELMORA_SIGN_PFX)
  if(NOT EXISTS "${VELMORA_SIGN_PFX}" OR NOT EXISTS "${VELMORA_SIGN_PASSWORD_FILE}")
    message(FATAL_ERROR "Signing needs VELMORA_SIGN_PFX and VELMORA_SIGN_PASSWORD_FILE to name existing files")
  endif()
  find_program(OSSLSIGNCODE osslsigncode REQUIRED)
  # Every signature is made by this one script; it holds the paths, never
  # the password.
  set(VELMORA_SIGN_SCRIPT ${CMAKE_BINARY_DIR}/sign_file.cmake)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/sign_file.cmake.in ${VELMORA_SIGN_SCRIPT} @ONLY)
endif()

# Signs a target's file in place once it is linked; linked again when the
# certificate changes.
function(velmora_sign target)
  if(VELMORA_SIGN_SCRIPT)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:${target}> -P ${VELMORA_SIGN_SCRIPT})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${VELMORA_SIGN_PFX} ${VELMORA_SIGN_SCRIPT})
  endif()
endfunction()
