# Fails when code outside src/common/TimeOfDay.cpp reads the time of day:
# every such read must go through the replaceable source there, or a
# recording of a session's reads no longer replays it.
include(${CMAKE_CURRENT_LIST_DIR}/SourceScan.cmake)
vyrn_fail_on_source_lines("/src/common/TimeOfDay.cpp$"
  "system_clock|high_resolution_clock|gettimeofday|clock_gettime|localtime|gmtime|std::time[ \t]*\\(|[^A-Za-z0-9_]time[ \t]*\\([ \t]*(nullptr|NULL|0)?[ \t]*\\)"
  "time of day read outside src/common/TimeOfDay.cpp")
