# Code signing of the feedback library and the signer keys the tool accepts.
#
# The tool loads HalvexFeedbackInformation.dll only when its Authenticode signer's public key is
# one of CORVINA_VENDOR_SIGNER_KEYS: SHA-256 of the certificate's DER SubjectPublicKeyInfo, in hex,
#   openssl x509 -in signer.crt -pubkey -noout | openssl pkey -pubin -outform der | sha256sum
# Without given keys the build pins its test signer only: one made for this build folder, or the
# key and certificate given as CORVINA_TEST_SIGNER_KEY and CORVINA_TEST_SIGNER_CERT (PEM), with
# which two build folders make the same program. Signatures take the commit's time.

find_program(CORVINA_OPENSSL openssl REQUIRED)
find_program(CORVINA_OSSLSIGNCODE osslsigncode REQUIRED)

set(CORVINA_SIGNING_DIR ${CMAKE_BINARY_DIR}/signing)
file(MAKE_DIRECTORY ${CORVINA_SIGNING_DIR})

set(CORVINA_TEST_SIGNER_KEY "" CACHE FILEPATH "PEM key of the test signer (default: one made for the build folder)")
set(CORVINA_TEST_SIGNER_CERT "" CACHE FILEPATH "PEM certificate of the test signer given as CORVINA_TEST_SIGNER_KEY")

# A self-signed code-signing certificate and its key, <name>.crt and <name>.key under signing/,
# made once per build folder unless given; its pin (lower-case hex) lands in out_pin.
#   corvina_signer(name out_pin [GIVEN <key> <crt>])
function(corvina_signer name out_pin)
  cmake_parse_arguments(ARG "" "" "GIVEN" ${ARGN})
  set(key ${CORVINA_SIGNING_DIR}/${name}.key)
  set(crt ${CORVINA_SIGNING_DIR}/${name}.crt)
  if(ARG_GIVEN)
    list(GET ARG_GIVEN 0 given_key)
    list(GET ARG_GIVEN 1 given_crt)
    foreach(file IN ITEMS "${given_key}" "${given_crt}")
      if(NOT EXISTS "${file}" OR IS_DIRECTORY "${file}")
        message(FATAL_ERROR "The ${name}: no file at \"${file}\"")
      endif()
    endforeach()
    configure_file(${given_key} ${key} COPYONLY)
    configure_file(${given_crt} ${crt} COPYONLY)
  elseif(NOT EXISTS ${key} OR NOT EXISTS ${crt})
    execute_process(
      COMMAND ${CORVINA_OPENSSL} req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650
              -subj "/CN=Corvina ${name}" -addext "extendedKeyUsage=codeSigning"
              -keyout ${key} -out ${crt}
      OUTPUT_QUIET ERROR_VARIABLE error RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      file(REMOVE ${key} ${crt})
      message(FATAL_ERROR "Could not make the ${name} certificate: ${error}")
    endif()
  endif()
  set(der ${CORVINA_SIGNING_DIR}/${name}.pubkey.der)
  execute_process(
    COMMAND ${CORVINA_OPENSSL} x509 -in ${crt} -pubkey -noout
    COMMAND ${CORVINA_OPENSSL} pkey -pubin -outform der -out ${der}
    ERROR_VARIABLE error RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "Could not read the public key of ${crt}: ${error}")
  endif()
  file(SHA256 ${der} pin)
  set(${out_pin} ${pin} PARENT_SCOPE)
endfunction()

if(CORVINA_TEST_SIGNER_KEY OR CORVINA_TEST_SIGNER_CERT)
  if(NOT CORVINA_TEST_SIGNER_KEY OR NOT CORVINA_TEST_SIGNER_CERT)
    message(FATAL_ERROR "CORVINA_TEST_SIGNER_KEY and CORVINA_TEST_SIGNER_CERT go together")
  endif()
  corvina_signer(test-signer CORVINA_TEST_SIGNER_PIN GIVEN ${CORVINA_TEST_SIGNER_KEY} ${CORVINA_TEST_SIGNER_CERT})
else()
  corvina_signer(test-signer CORVINA_TEST_SIGNER_PIN)
endif()
# Only the tests use this one: a valid signature by a key nobody pinned.
corvina_signer(other-signer CORVINA_OTHER_SIGNER_PIN)

if(CORVINA_VENDOR_SIGNER_KEYS STREQUAL "")
  set(CORVINA_PINNED_KEYS ${CORVINA_TEST_SIGNER_PIN})
else()
  set(CORVINA_PINNED_KEYS "")
  foreach(key IN LISTS CORVINA_VENDOR_SIGNER_KEYS)
    string(STRIP "${key}" key)
    string(TOLOWER "${key}" key)
    if(NOT key MATCHES "^[0-9a-f]+$")
      message(FATAL_ERROR "CORVINA_VENDOR_SIGNER_KEYS: \"${key}\" is not a hex SHA-256 of a public key")
    endif()
    string(LENGTH "${key}" length)
    if(NOT length EQUAL 64)
      message(FATAL_ERROR "CORVINA_VENDOR_SIGNER_KEYS: \"${key}\" has ${length} hex digits, not 64")
    endif()
    list(APPEND CORVINA_PINNED_KEYS ${key})
  endforeach()
endif()
list(JOIN CORVINA_PINNED_KEYS ";" pinned_text)
message(STATUS "Feedback library signer keys pinned: ${pinned_text}")

# The pins reach the code through a generated header, in the option's own syntax.
set(CORVINA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(CONFIGURE OUTPUT ${CORVINA_GENERATED_DIR}/VendorSignerKeys.h
     CONTENT "// Made by the build from CORVINA_VENDOR_SIGNER_KEYS.\n#pragma once\n#define CORVINA_VENDOR_SIGNER_KEYS L\"${pinned_text}\"\n")

# After each link, signs the target's file in place with the test signer (SHA-256).
#   corvina_sign_output(target [UNSIGNED_COPY path] [OTHER_SIGNER_COPY path])
# UNSIGNED_COPY keeps the file as linked; OTHER_SIGNER_COPY signs a copy with the other signer.
function(corvina_sign_output target)
  cmake_parse_arguments(ARG "" "UNSIGNED_COPY;OTHER_SIGNER_COPY" "" ${ARGN})
  set(sign_script ${PROJECT_SOURCE_DIR}/cmake/SignFile.cmake)
  # Signed again when the commit's time or the test signer changes, even with nothing to compile.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${CORVINA_SOURCE_DATE_FILE}
               ${CORVINA_SIGNING_DIR}/test-signer.crt)
  set(commands "")
  if(ARG_UNSIGNED_COPY)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${ARG_UNSIGNED_COPY})
  endif()
  if(ARG_OTHER_SIGNER_COPY)
    list(APPEND commands COMMAND ${CMAKE_COMMAND} -DSIGNER=${CORVINA_SIGNING_DIR}/other-signer
         -DTOOL=${CORVINA_OSSLSIGNCODE} -DTIME=${CORVINA_SOURCE_DATE_EPOCH}
         -DINPUT=$<TARGET_FILE:${target}> -DOUTPUT=${ARG_OTHER_SIGNER_COPY}
         -P ${sign_script})
  endif()
  add_custom_command(TARGET ${target} POST_BUILD ${commands}
    COMMAND ${CMAKE_COMMAND} -DSIGNER=${CORVINA_SIGNING_DIR}/test-signer -DTOOL=${CORVINA_OSSLSIGNCODE}
            -DTIME=${CORVINA_SOURCE_DATE_EPOCH} -DINPUT=$<TARGET_FILE:${target}> -DOUTPUT=$<TARGET_FILE:${target}> -P ${sign_script}
    VERBATIM)
endfunction()
