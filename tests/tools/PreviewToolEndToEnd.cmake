# Runs the real vyrn-preview binary: help, usage errors and a missing archive.
# cmake -DPREVIEW=<vyrn-preview> -DWORK=<scratch dir> -P PreviewToolEndToEnd.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(run expect_rc)
  execute_process(COMMAND "${PREVIEW}" ${ARGN} WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expect_rc)
    message(FATAL_ERROR "vyrn-preview ${ARGN}: exit ${rc}, expected ${expect_rc}\n${out}${err}")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
  set(ERR "${err}" PARENT_SCOPE)
endfunction()

run(0 --help)
if(NOT OUT MATCHES "Usage: vyrn-preview")
  message(FATAL_ERROR "no usage text: ${OUT}")
endif()
run(2)
run(2 back_simple01.jpg 19 evil_simple01)
# No game.pak in the working directory.
run(1 back_simple01.jpg 0 evil_simple01 "Level 1")
if(NOT ERR MATCHES "game.pak")
  message(FATAL_ERROR "the missing archive is not named: ${ERR}")
endif()
if(EXISTS "${WORK}/preview.png")
  message(FATAL_ERROR "a picture was written without an archive")
endif()
file(REMOVE_RECURSE "${WORK}")
