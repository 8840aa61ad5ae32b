# Runs the generator once more and compares its archive with the one the
# build made. Arguments: GENERATOR, REFERENCE, OUTPUT.
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE Result)
if(NOT Result EQUAL 0)
  message(FATAL_ERROR "vyrn-pakgen failed: ${Result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${REFERENCE} ${OUTPUT} RESULT_VARIABLE Same)
if(NOT Same EQUAL 0)
  message(FATAL_ERROR "a second run of vyrn-pakgen gave different bytes than ${REFERENCE}")
endif()
file(REMOVE ${OUTPUT})
message(STATUS "game.pak is the same on a second run")
