# Nothing below the frame reads a widget: the command layers get what the
# operator typed or chose as request records, or through the readers the
# frame registers (ui/window_state.h). A read of a widget's value through
# the UI services in those folders fails this check, with its place.
#
#   cmake -DSOURCE_DIR=<repo> -DWORK=<scratch dir> -P check_widget_reads.cmake
cmake_minimum_required(VERSION 3.16)

set(reads "ui_get_text|ui_get_toggle|ui_get_option|ui_list_selected_pos|ui_list_selected_items|ui_list_items|ui_list_count|ui_list_get_policy|get_widget_label|is_sens|ui_is_managed")
set(pattern "(^|[^A-Za-z0-9_])(${reads})[ \t]*\\(")

# The places (file:line: text) of widget reads in the C++ files under dirs.
function(widget_reads out)
  set(found "")
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE files ${dir}/*.cpp ${dir}/*.h)
    foreach(f IN LISTS files)
      # One list element per line: characters that CMake lists give a
      # meaning to are replaced first.
      file(READ ${f} text)
      string(REGEX REPLACE "[][;\\]" "_" text "${text}")
      string(REPLACE "\n" ";" lines "${text}")
      set(n 0)
      foreach(line IN LISTS lines)
        math(EXPR n "${n} + 1")
        string(REGEX REPLACE "//.*$" "" code "${line}")
        if(code MATCHES "${pattern}")
          list(APPEND found "${f}:${n}: ${line}")
        endif()
      endforeach()
    endforeach()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# The scan finds a read it must find, and passes over a comment and a
# write.
file(REMOVE_RECURSE ${WORK}/planted)
file(WRITE ${WORK}/planted/a.cpp
     "// ui_get_text(W_A) in a comment\nvoid f() {\n    ui_set_text(W_A, \"\");\n    bool on = ui_get_toggle (W_B);\n}\n")
widget_reads(planted ${WORK}/planted)
list(LENGTH planted planted_count)
if(NOT planted_count EQUAL 1 OR NOT planted MATCHES "a.cpp:4:")
  message(FATAL_ERROR "the scan did not find exactly the planted read: ${planted}")
endif()

set(below_frame "")
foreach(layer catalogue snmp_access devices ops files basic)
  list(APPEND below_frame ${SOURCE_DIR}/src/${layer})
endforeach()
widget_reads(found ${below_frame})
if(found)
  string(REPLACE ";" "\n" found "${found}")
  message(FATAL_ERROR "widget reads below the frame (read the window in the frame and pass a "
                      "request):\n${found}")
endif()
