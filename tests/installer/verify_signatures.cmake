# Every file in the list FILES (one a line) carries an Authenticode signature
# that osslsigncode verifies, made by the certificate in PFX; the chain may
# end at that certificate (the test command's throw-away one) or at a root
# the system trusts. cmake -DFILES= -DPFX= -DPASSWORD_FILE= -DOSSLSIGNCODE=
# -DOPENSSL= -DWORK=FOLDER -P verify_signatures.cmake
set(trusted ${WORK}/trusted.pem)
execute_process(COMMAND ${OPENSSL} pkcs12 -in ${PFX} -passin file:${PASSWORD_FILE} -nokeys -out ${trusted})
execute_process(COMMAND ${OPENSSL} pkcs12 -in ${PFX} -passin file:${PASSWORD_FILE} -nokeys -clcerts
  COMMAND ${OPENSSL} x509 -noout -serial OUTPUT_VARIABLE serial)
string(REGEX REPLACE "^serial=([0-9A-Fa-f]+).*" "\\1" serial "${serial}")
if(EXISTS /etc/ssl/certs/ca-certificates.crt)
  file(READ /etc/ssl/certs/ca-certificates.crt roots)
  file(APPEND ${trusted} "${roots}")
endif()
file(STRINGS ${FILES} files)
foreach(file IN LISTS files)
  execute_process(COMMAND ${OSSLSIGNCODE} verify -in ${file} -CAfile ${trusted}
    RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
  string(REGEX MATCH "Serial : ([0-9A-Fa-f]+)" signer "${report}")
  if(NOT result EQUAL 0 OR NOT CMAKE_MATCH_1 STREQUAL serial OR serial STREQUAL "")
    message(FATAL_ERROR "${report}\n${file} is not signed by ${PFX}")
  endif()
  message(STATUS "signed: ${file}")
endforeach()
