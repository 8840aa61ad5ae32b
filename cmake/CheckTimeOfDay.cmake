# Fails when code outside src/persist/TimeOfDay.cpp reads the time of day:
# every such read must go through the replaceable source there, or a
# recording of a session's reads no longer replays it.
file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
set(bad "")
foreach(f IN LISTS sources)
  if(f MATCHES "/src/persist/TimeOfDay.cpp$")
    continue()
  endif()
  file(STRINGS "${f}" hits REGEX
       "system_clock|high_resolution_clock|gettimeofday|clock_gettime|localtime|gmtime|std::time[ \t]*\\(|[^A-Za-z0-9_]time[ \t]*\\([ \t]*(nullptr|NULL|0)?[ \t]*\\)")
  if(hits)
    list(APPEND bad "${f}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "time of day read outside src/persist/TimeOfDay.cpp: ${bad}")
endif()
