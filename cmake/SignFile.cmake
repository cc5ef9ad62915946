# cmake -DSIGNER=<folder>/<name> -DTOOL=<osslsigncode> -DTIME=<unix time> -DINPUT=<file> -DOUTPUT=<file>
#       -P SignFile.cmake
# Authenticode-signs INPUT with SIGNER.key and SIGNER.crt (SHA-256) into OUTPUT; INPUT may be OUTPUT.
# TIME is the signing time written into the signature: the same input and key give the same bytes.
# The signed file is written aside and moved in, so OUTPUT is never left half written.
foreach(name SIGNER TOOL TIME INPUT OUTPUT)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "SignFile.cmake needs -D${name}=")
  endif()
endforeach()
get_filename_component(folder "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
set(partial "${OUTPUT}.signing")
file(REMOVE "${partial}")
execute_process(
  COMMAND "${TOOL}" sign -certs "${SIGNER}.crt" -key "${SIGNER}.key" -h sha256 -time "${TIME}"
          -in "${INPUT}" -out "${partial}"
  OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE "${partial}")
  message(FATAL_ERROR "Signing ${INPUT} failed: ${output}")
endif()
file(RENAME "${partial}" "${OUTPUT}")
