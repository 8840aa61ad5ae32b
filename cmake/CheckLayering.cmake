# Fails when an include points up the floors of src/. The floors, from the
# bottom: a folder may include its own headers and those of every floor below
# it. Folders that share a floor are siblings and know nothing of each other.
set(floors
  "common"
  "platform"
  "persist"
  "pak"
  "gfx"
  "audio board"
  "actors"
  "app"
  "game frontend"
  "program"
)
# Of the window's floor, the floors above it see only the part interfaces:
# the window itself (Main and its companions) is the program's to wire.
set(window_floor "app")
set(window_public "app/FormParts.h")

# Each folder's floor number.
set(number 0)
foreach(floor IN LISTS floors)
  string(REPLACE " " ";" folders "${floor}")
  foreach(folder IN LISTS folders)
    set(floor_of_${folder} ${number})
  endforeach()
  math(EXPR number "${number} + 1")
endforeach()
set(program_floor ${floor_of_program})

# The checker checks itself: LAYERING_SELF_TEST names a folder and a fake
# include that must be refused (cmake -DLAYERING_SELF_TEST="board game/GameData.h").
if(LAYERING_SELF_TEST)
  string(REPLACE " " ";" pair "${LAYERING_SELF_TEST}")
  list(GET pair 0 self_folder)
  list(GET pair 1 self_include)
endif()

function(layering_verdict folder path out)
  set(${out} "" PARENT_SCOPE)
  if(NOT DEFINED floor_of_${folder})
    set(${out} "is in a folder that has no floor" PARENT_SCOPE)
    return()
  endif()
  string(REGEX MATCH "^[^/]+/" head "${path}")
  if(head STREQUAL "")
    return()  # a header beside the file, or a system header
  endif()
  string(REGEX REPLACE "/$" "" target "${head}")
  if(NOT DEFINED floor_of_${target} OR target STREQUAL folder)
    return()
  endif()
  set(from ${floor_of_${folder}})
  set(to ${floor_of_${target}})
  if(to GREATER_EQUAL from)
    set(${out} "includes ${path}, a floor above or beside it" PARENT_SCOPE)
  elseif(target STREQUAL window_floor AND from LESS program_floor AND NOT path STREQUAL window_public)
    set(${out} "includes ${path}: above the window only the program may" PARENT_SCOPE)
  endif()
endfunction()

set(bad "")
if(LAYERING_SELF_TEST)
  layering_verdict(${self_folder} ${self_include} why)
  if(why STREQUAL "")
    message(FATAL_ERROR "The floor check lets src/${self_folder} include ${self_include}")
  endif()
  message(STATUS "refused as expected: src/${self_folder} ${why}")
  return()
endif()

file(GLOB_RECURSE sources "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
foreach(f IN LISTS sources)
  file(RELATIVE_PATH rel "${SOURCE_DIR}/src" "${f}")
  string(REGEX REPLACE "/.*" "" folder "${rel}")
  file(STRINGS "${f}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" path "${line}")
    layering_verdict(${folder} ${path} why)
    if(NOT why STREQUAL "")
      list(APPEND bad "src/${rel} ${why}")
    endif()
  endforeach()
endforeach()
if(bad)
  list(JOIN bad "\n  " text)
  message(FATAL_ERROR "Includes that point up the floors:\n  ${text}")
endif()
