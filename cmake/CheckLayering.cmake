# Fails when an include points up the layers. The window (src/app/Main) sees
# only the part interfaces (app/FormParts.h); the front end, the game and the
# actors implement or use them without reaching into the window; the lower
# subsystems know none of them. Only the program level (ProgramParts and the
# entry point) and the tools may include everything.
set(upper "app/|frontend/|game/|actors/")
set(rules
  "src/persist/|${upper}"
  "src/platform/|${upper}"
  "src/pak/|${upper}"
  "src/gfx/|${upper}"
  "src/audio/|${upper}"
  "src/board/|app/|frontend/|actors/"
  "src/actors/|app/|frontend/|game/"
  "src/game/|app/(?!FormParts\\.h)|frontend/"
  "src/frontend/|app/(?!FormParts\\.h)|game/|actors/"
  "src/app/Main|frontend/|game/|actors/"
)
file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
set(bad "")
foreach(f IN LISTS sources)
  file(RELATIVE_PATH rel "${SOURCE_DIR}" "${f}")
  file(STRINGS "${f}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(rule IN LISTS rules)
    string(FIND "${rule}" "|" split)
    string(SUBSTRING "${rule}" 0 ${split} prefix)
    math(EXPR from "${split} + 1")
    string(SUBSTRING "${rule}" ${from} -1 forbidden)
    string(FIND "${rel}" "${prefix}" at)
    if(NOT at EQUAL 0)
      continue()
    endif()
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" path "${line}")
      # CMake's regular expressions have no lookahead: the one allowed
      # window header is let through by hand.
      if(path STREQUAL "app/FormParts.h" AND forbidden MATCHES "FormParts")
        continue()
      endif()
      string(REPLACE "(?!FormParts\\.h)" "" plain "${forbidden}")
      if(path MATCHES "^(${plain})")
        list(APPEND bad "${rel} includes ${path}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(bad)
  list(JOIN bad "\n  " text)
  message(FATAL_ERROR "Includes that point up the layers:\n  ${text}")
endif()
