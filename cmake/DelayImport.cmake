# Delay-loaded imports: a library named here loads on the first call into it, from the system
# folder, instead of before the program's first line.  The import library is made from the
# toolchain's own one, so every function of it stays available.
function(corvina_delay_import target)
  foreach(dll IN LISTS ARGN)
    find_library(corvina_import_${dll} NAMES ${dll} REQUIRED NO_CACHE)
    execute_process(COMMAND ${CMAKE_NM} ${corvina_import_${dll}} OUTPUT_VARIABLE symbols
                    COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "__imp__[A-Za-z0-9_]+@[0-9]+" imports "${symbols}")
    list(REMOVE_DUPLICATES imports)
    list(TRANSFORM imports REPLACE "^__imp__" "")
    list(JOIN imports "\n" exports)
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${dll}-delay.def)
    set(lib ${CMAKE_CURRENT_BINARY_DIR}/lib${dll}-delay.a)
    file(WRITE ${def} "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
    add_custom_command(OUTPUT ${lib}
                       COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --kill-at --dllname ${dll}.dll
                               --output-delaylib ${lib}
                       DEPENDS ${def} VERBATIM)
    add_custom_target(${target}_${dll}_delay DEPENDS ${lib})
    add_dependencies(${target} ${target}_${dll}_delay)
    # Ahead of the ordinary import library, which the libraries' own dependencies bring later.
    target_link_libraries(${target} PRIVATE ${lib})
  endforeach()
endfunction()
