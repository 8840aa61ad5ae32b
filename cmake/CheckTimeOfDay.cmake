# Fails when code outside src/persist/TimeOfDay.cpp reads the time of day:
# every such read must go through the replaceable source there, or a
# recording of a session's reads no longer replays it.
include(${CMAKE_CURRENT_LIST_DIR}/SourceScan.cmake)
vyrn_fail_on_source_lines("/src/persist/TimeOfDay.cpp$"
  "system_clock|high_resolution_clock|gettimeofday|clock_gettime|localtime|gmtime|std::time[ \t]*\\(|[^A-Za-z0-9_]time[ \t]*\\([ \t]*(nullptr|NULL|0)?[ \t]*\\)"
  "time of day read outside src/persist/TimeOfDay.cpp")
