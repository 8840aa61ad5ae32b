# Fails when code outside src/platform/sdl includes SDL or curl headers: the
# game must build and run without them so that tests and replays stay headless.
include(${CMAKE_CURRENT_LIST_DIR}/SourceScan.cmake)
vyrn_fail_on_source_lines("/src/platform/sdl/|/src/program/EntryPoint.cpp$"
  "#[ \t]*include[ \t]*[<\"](SDL|SDL2/|curl/)"
  "SDL or curl included outside src/platform/sdl")
