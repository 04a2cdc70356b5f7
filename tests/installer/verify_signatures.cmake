# Every file the Windows build ships carries an Authenticode signature by the
# build's own certificate, which osslsigncode verifies:
#   cmake -DFILES=LIST_FILE -DPFX=... -DPASSWORD_FILE=... -DOSSLSIGNCODE=...
#         -DOPENSSL=... -DWORK=FOLDER -P verify_signatures.cmake
# LIST_FILE names one file a line. The chain may end at the certificate
# itself (the test command's throw-away one) or at a root the system trusts;
# either way the signer must be the certificate in PFX.
file(MAKE_DIRECTORY ${WORK})
set(trusted ${WORK}/trusted.pem)
execute_process(COMMAND ${OPENSSL} pkcs12 -in ${PFX} -passin file:${PASSWORD_FILE} -nokeys -out ${trusted}
  RESULT_VARIABLE result)
execute_process(COMMAND ${OPENSSL} pkcs12 -in ${PFX} -passin file:${PASSWORD_FILE} -nokeys -clcerts
  COMMAND ${OPENSSL} x509 -noout -serial OUTPUT_VARIABLE serial RESULT_VARIABLE serial_result)
if(NOT result EQUAL 0 OR NOT serial_result EQUAL 0)
  message(FATAL_ERROR "Cannot read the certificate in ${PFX}")
endif()
string(REGEX REPLACE "^serial=([0-9A-Fa-f]+).*" "\\1" serial "${serial}")
if(EXISTS /etc/ssl/certs/ca-certificates.crt)
  file(READ /etc/ssl/certs/ca-certificates.crt roots)
  file(APPEND ${trusted} "${roots}")
endif()

file(STRINGS ${FILES} files)
set(failed "")
foreach(file IN LISTS files)
  execute_process(COMMAND ${OSSLSIGNCODE} verify -in ${file} -CAfile ${trusted}
    RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
  string(REGEX MATCH "Serial : ([0-9A-Fa-f]+)" signer "${report}")
  if(result EQUAL 0 AND CMAKE_MATCH_1 STREQUAL serial)
    message(STATUS "signed: ${file}")
  else()
    message("${report}")
    list(APPEND failed ${file})
  endif()
endforeach()
list(LENGTH files count)
if(failed OR count EQUAL 0)
  message(FATAL_ERROR "Not signed by ${PFX}: ${failed}")
endif()
