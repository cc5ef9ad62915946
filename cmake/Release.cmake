# What scripts/release needs from a build: the program, the stand-in library, release-check.exe
# (the tool's own library check, under Wine), and a few facts about the build in
# release-tools/facts.txt, one name=value a line.

# The panel and the feedback service are told the version in a literal of the code's own; an
# archive named after another version than the program reports would mislead.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/app/ToolIdentity.h tool_version_line REGEX "TOOL_VERSION\\[\\] *= *L\"")
string(REGEX MATCH "L\"([^\"]*)\"" tool_version_literal "${tool_version_line}")
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "src/app/ToolIdentity.h says version \"${CMAKE_MATCH_1}\", the project ${PROJECT_VERSION}")
endif()

add_subdirectory(${PROJECT_SOURCE_DIR}/release ${CMAKE_BINARY_DIR}/release-tools-build)

if(CORVINA_VENDOR_SIGNER_KEYS STREQUAL "")
  set(signer_keys_given 0)
else()
  set(signer_keys_given 1)
endif()
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/release-tools/facts.txt CONTENT "version=${PROJECT_VERSION}
build_type=${CMAKE_BUILD_TYPE}
program=$<TARGET_FILE:Corvina>
standin=$<TARGET_FILE:standin_feedback>
checker=$<TARGET_FILE:corvina_release_check>
test_signer=${CORVINA_SIGNING_DIR}/test-signer
signer_keys_given=${signer_keys_given}
source_date_epoch=${CORVINA_SOURCE_DATE_EPOCH}
")

# Just what a release needs: scripts/release builds this target, not the tests.
add_custom_target(corvina_release_inputs)
add_dependencies(corvina_release_inputs Corvina standin_feedback corvina_release_check)
