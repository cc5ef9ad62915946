# The step after the link, given a program without the load configuration's section: it must fail,
# say why, and take the program away, so that the next build links it again rather than taking an
# unprotected program for done.
#   cmake -DPYTHON=<python3> -DSTEP=<step script> -DPROGRAM=<exe> -DWORK=<scratch folder> -P this
file(REMOVE_RECURSE ${WORK})
file(COPY ${PROGRAM} DESTINATION ${WORK})
get_filename_component(name ${PROGRAM} NAME)
execute_process(COMMAND ${PYTHON} ${STEP} ${WORK}/${name} .loadcfg RESULT_VARIABLE result ERROR_VARIABLE error)
if(result EQUAL 0)
  message(FATAL_ERROR "The step passed a program without a load configuration")
elseif(NOT error MATCHES "no load configuration set: 0 sections named .loadcfg")
  message(FATAL_ERROR "The step failed without saying why: ${error}")
elseif(EXISTS ${WORK}/${name})
  message(FATAL_ERROR "The step left the program it could not protect")
endif()
