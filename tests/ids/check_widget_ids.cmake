# The one table of widget ids holds: the generator refuses a table with a
# name defined twice, an id given twice or a name too long for UIL; the
# interface files and the command code name every id (no number in place
# of an id) and use no name the table lacks.
#
#   cmake -DSOURCE_DIR=<repo> -DWORK=<scratch dir> -P check_widget_ids.cmake
cmake_minimum_required(VERSION 3.16)

set(generator ${SOURCE_DIR}/src/ui/widget_ids.cmake)
set(table ${SOURCE_DIR}/src/ui/widget_ids.tbl)
set(failures "")
file(MAKE_DIRECTORY ${WORK})

# Runs the generator on a table text; sets rc and out.
function(generate text)
  file(WRITE ${WORK}/t.tbl "${text}")
  file(REMOVE ${WORK}/t.h ${WORK}/t.uil)
  execute_process(COMMAND ${CMAKE_COMMAND} -DTABLE=${WORK}/t.tbl -DHEADER=${WORK}/t.h
                          -DUIL=${WORK}/t.uil -P ${generator}
                  RESULT_VARIABLE code ERROR_VARIABLE err OUTPUT_QUIET)
  set(rc ${code} PARENT_SCOPE)
  set(out "${err}" PARENT_SCOPE)
endfunction()

# Tables the generator must refuse, with the words its message must hold.
set(bad_tables
  "W_A 1 main\nW_A 2 main\n|defined twice"
  "W_A 1 main\nW_B 1 main\n|id 1 given"
  "W_A 1300 main\n|outside"
  "W_A 2999 basic\nW_LONG_NAME_OF_THIRTY_TWO_CHARSX 3 main\n|longer than"
  "W_A one main\n|not 'NAME ID"
  "W_A 1 side\n|not 'NAME ID")
foreach(case IN LISTS bad_tables)
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 text)
  list(GET parts 1 words)
  string(REPLACE "\\n" "\n" text "${text}")
  generate("${text}")
  if(rc EQUAL 0 OR NOT out MATCHES "${words}")
    string(APPEND failures "table '${text}' not refused with '${words}': ${out}\n")
  endif()
endforeach()

# The same id in both tables is two ids; both outputs name it.
generate("# comment\nW_A 7 main\nBW_A 7 basic\n")
if(NOT rc EQUAL 0)
  string(APPEND failures "a main and a basic id of one number refused: ${out}\n")
else()
  file(READ ${WORK}/t.h header)
  file(READ ${WORK}/t.uil uil)
  if(NOT header MATCHES "constexpr int BW_A = 7;" OR NOT uil MATCHES "W_A : 7;")
    string(APPEND failures "generated files lack the ids:\n${header}\n${uil}\n")
  endif()
endif()

# The real table: every name, and no number where an id belongs.
file(STRINGS ${table} rows REGEX "^[A-Z]")
foreach(row IN LISTS rows)
  string(REGEX MATCH "^[A-Z0-9_]+" name "${row}")
  set(def_${name} 1)
endforeach()
set(id_procs "create_proc|activate_proc|cancel_proc|list_action_proc|list_sel_proc|xxxverify_proc|create_proc_basic|activate_proc_basic")
file(GLOB uil_files ${SOURCE_DIR}/ui/*.uil)
foreach(f IN LISTS uil_files)
  file(READ ${f} text)
  string(REGEX MATCHALL "(${id_procs})[ ]*\\([ ]*[A-Za-z0-9_]+[ ]*\\)" calls "${text}")
  foreach(call IN LISTS calls)
    string(REGEX REPLACE ".*\\([ ]*([A-Za-z0-9_]+)[ ]*\\)" "\\1" arg "${call}")
    if(arg MATCHES "^[0-9]")
      string(APPEND failures "${f}: number in place of an id: ${call}\n")
    elseif(NOT arg STREQUAL "integer" AND NOT DEFINED def_${arg})
      string(APPEND failures "${f}: ${arg} is not in the table\n")
    endif()
  endforeach()
endforeach()

# Command code passes ids by name to the UI services and dialogs.
set(services "ui_[a-z_]+|dispatch_main|dispatch_basic|display_warn|ask_user|gui_manage_top_form|gui_unmanage_top_form|set_focus|display_win_help")
file(GLOB_RECURSE sources ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
foreach(f IN LISTS sources)
  file(READ ${f} text)
  string(REGEX MATCHALL "(${services})\\([ ]*[0-9]+" calls "${text}")
  list(FILTER calls EXCLUDE REGEX "^ui_bell") # a volume, not an id
  foreach(call IN LISTS calls)
    string(APPEND failures "${f}: number in place of an id: ${call}\n")
  endforeach()
endforeach()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "widget ids: table, interface files and command code agree")
