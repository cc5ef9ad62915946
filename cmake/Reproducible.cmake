# The same commit gives the same bytes, wherever and whenever it is built.
#
# Every time the build writes into what it delivers comes from the commit, never the clock:
# SOURCE_DATE_EPOCH when set, else the time of the commit checked out. The linker writes no time
# stamp into the PE header, the export and resource tables; the compiler writes the folders'
# paths relative to the source and build folders.

if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(CORVINA_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git log -1 --format=%ct
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE CORVINA_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET RESULT_VARIABLE git_result)
  if(NOT git_result EQUAL 0)
    set(CORVINA_SOURCE_DATE_EPOCH "")
  endif()
  # A new commit is a new time: configure again when the checked-out commit moves.
  execute_process(COMMAND git rev-parse --git-path HEAD --git-path packed-refs --symbolic-full-name HEAD
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE git_paths OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  string(REPLACE "\n" ";" git_paths "${git_paths}")
  foreach(path IN LISTS git_paths)
    if(path MATCHES "^refs/")
      execute_process(COMMAND git rev-parse --git-path ${path} WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                      OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
    get_filename_component(path "${path}" ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
    if(EXISTS "${path}")
      set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${path}")
    endif()
  endforeach()
endif()
if(NOT CORVINA_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "No commit time to build with: build from a git checkout, or set SOURCE_DATE_EPOCH "
                      "(seconds since 1970, UTC)")
endif()
message(STATUS "Build time (SOURCE_DATE_EPOCH): ${CORVINA_SOURCE_DATE_EPOCH}")

# Links and signatures that take the time depend on this file, written only when the time changes.
set(CORVINA_SOURCE_DATE_FILE ${CMAKE_BINARY_DIR}/source-date-epoch.txt)
file(CONFIGURE OUTPUT ${CORVINA_SOURCE_DATE_FILE} CONTENT "${CORVINA_SOURCE_DATE_EPOCH}\n")

# The build folder last: it may lie inside the source folder, and the option given last is tried first.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>"
                    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=build>")
add_link_options(-Wl,--no-insert-timestamp)
