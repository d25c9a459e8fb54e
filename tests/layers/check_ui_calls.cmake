# The command layers below the frame do not talk to the operator: they
# return outcomes, and the frame renders them. This check counts, in each
# layer below the frame, the calls of the UI services (every function
# ui/ui.h declares) and the files that include ui/ui.h, and fails when a
# count rises above the maximum recorded below (zero for every layer now).
#
#   cmake -DSOURCE_DIR=<repo> -DWORK=<scratch dir> -P check_ui_calls.cmake
cmake_minimum_required(VERSION 3.16)

# layer, most calls, most including files
set(maxima
    "catalogue 0 0"
    "snmp_access 0 0"
    "devices 0 0"
    "ops 0 0"
    "files 0 0"
    "basic 0 0"
    "events 0 0")

# The names of the UI services: every function declared at the start of a
# line of ui/ui.h.
file(STRINGS ${SOURCE_DIR}/src/ui/ui.h decls REGEX "^[A-Za-z].*[ *&][a-z_][a-z_0-9]*\\(")
set(names "")
foreach(d IN LISTS decls)
  string(REGEX MATCH "([a-z_][a-z_0-9]*)\\(" m "${d}")
  list(APPEND names ${CMAKE_MATCH_1})
endforeach()
list(REMOVE_DUPLICATES names)
list(JOIN names "|" alternatives)
set(call "(^|[^A-Za-z0-9_.>:])(${alternatives})[ \t]*\\(")

# Calls and including files in the C++ files under dir, comments left out.
function(count_ui dir calls_out includes_out)
  file(GLOB_RECURSE files ${dir}/*.cpp ${dir}/*.h)
  set(calls 0)
  set(includes 0)
  foreach(f IN LISTS files)
    file(READ ${f} text)
    string(REGEX REPLACE "//[^\n]*" "" text "${text}")
    string(REGEX REPLACE "[][;\\]" "_" text "${text}")
    string(REGEX MATCHALL "${call}" hits "${text}")
    list(LENGTH hits n)
    math(EXPR calls "${calls} + ${n}")
    if(text MATCHES "#include \"ui/ui.h\"")
      math(EXPR includes "${includes} + 1")
    endif()
  endforeach()
  set(${calls_out} ${calls} PARENT_SCOPE)
  set(${includes_out} ${includes} PARENT_SCOPE)
endfunction()

# The count finds the calls it must find and passes over comments, members
# and declarations of other names.
file(REMOVE_RECURSE ${WORK}/planted)
file(WRITE ${WORK}/planted/a.cpp
     "#include \"ui/ui.h\"\n// display_warn(W_A, \"\") in a comment\nvoid f() {\n"
     "    display_warn(W_A, \"x\"); ui_set_text (W_B, \"\");\n    w.display_warn(1);\n"
     "    my_display_warn(2);\n}\n")
count_ui(${WORK}/planted planted_calls planted_includes)
if(NOT planted_calls EQUAL 2 OR NOT planted_includes EQUAL 1)
  message(FATAL_ERROR "the count is wrong on planted code: ${planted_calls} calls, "
                      "${planted_includes} including files (expected 2 and 1)")
endif()

set(risen "")
foreach(row IN LISTS maxima)
  string(REPLACE " " ";" row "${row}")
  list(GET row 0 layer)
  list(GET row 1 max_calls)
  list(GET row 2 max_includes)
  count_ui(${SOURCE_DIR}/src/${layer} calls includes)
  message(STATUS "${layer}: ${calls} UI service calls (at most ${max_calls}), "
                 "${includes} files include ui/ui.h (at most ${max_includes})")
  if(calls GREATER max_calls OR includes GREATER max_includes)
    string(APPEND risen "\n  ${layer}: ${calls} calls, ${includes} including files")
  elseif(calls LESS max_calls OR includes LESS max_includes)
    message(STATUS "  ${layer} fell: record ${calls} ${includes} as its maxima")
  endif()
endforeach()
if(risen)
  message(FATAL_ERROR "UI service calls below the frame rose above their recorded maxima (return "
                      "an outcome and let the frame render it):${risen}")
endif()
