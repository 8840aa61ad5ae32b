# For the source checks run by CTest (cmake -DSOURCE_DIR=... -P <check>):
# fails naming every file under src/ that has a line matching Pattern,
# files whose path matches Exempt excepted.
function(vyrn_fail_on_source_lines Exempt Pattern Message)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
  set(bad "")
  foreach(f IN LISTS sources)
    if(f MATCHES "${Exempt}")
      continue()
    endif()
    file(STRINGS "${f}" hits REGEX "${Pattern}")
    if(hits)
      list(APPEND bad "${f}")
    endif()
  endforeach()
  if(bad)
    message(FATAL_ERROR "${Message}: ${bad}")
  endif()
endfunction()
