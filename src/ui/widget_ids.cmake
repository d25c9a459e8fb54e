# Generates, from the one table of widget ids (widget_ids.tbl), the C++
# header of ids and the UIL value declarations that the interface files use.
#
#   cmake -DTABLE=<widget_ids.tbl> -DHEADER=<widget_ids.h> -DUIL=<widget_ids.uil> -P widget_ids.cmake
#
# A line of the table is "NAME ID TABLE" (TABLE: main or basic); "#" starts
# a comment. The run fails, and with it the build, on a malformed line, a
# name defined twice or longer than a UIL name allows, an id given twice
# within one table, or an id outside its table's slots.
cmake_minimum_required(VERSION 3.16)

set(max_main 1300)
set(max_basic 3000)

file(STRINGS "${TABLE}" lines)
set(header "// Generated from widget_ids.tbl by widget_ids.cmake: do not edit.\n")
string(APPEND header "// Every widget id of the program, defined once.\n#pragma once\n\n")
set(uil "! Generated from widget_ids.tbl by widget_ids.cmake: do not edit.\nvalue\n")
set(errors "")
set(count 0)
set(line_no 0)
foreach(line IN LISTS lines)
  math(EXPR line_no "${line_no} + 1")
  string(REGEX REPLACE "#.*$" "" body "${line}")
  string(STRIP "${body}" body)
  if(body STREQUAL "")
    continue()
  endif()
  if(NOT body MATCHES "^([A-Z][A-Z0-9_]*)[ \t]+([0-9]+)[ \t]+(main|basic)$")
    string(APPEND errors "line ${line_no}: not 'NAME ID main|basic': ${line}\n")
    continue()
  endif()
  set(name ${CMAKE_MATCH_1})
  set(id ${CMAKE_MATCH_2})
  set(table ${CMAKE_MATCH_3})
  string(LENGTH "${name}" name_length)
  if(name_length GREATER 31)
    string(APPEND errors "line ${line_no}: ${name} is longer than the 31 characters of a UIL name\n")
  endif()
  if(DEFINED seen_name_${name})
    string(APPEND errors "line ${line_no}: ${name} defined twice (first on line ${seen_name_${name}})\n")
  endif()
  set(seen_name_${name} ${line_no})
  if(DEFINED seen_${table}_${id})
    string(APPEND errors "line ${line_no}: ${table} id ${id} given to ${name} and ${seen_${table}_${id}}\n")
  endif()
  set(seen_${table}_${id} ${name})
  if(NOT id LESS ${max_${table}})
    string(APPEND errors "line ${line_no}: ${name}: id ${id} outside the ${table} table\n")
  endif()
  string(APPEND header "constexpr int ${name} = ${id};\n")
  string(APPEND uil "    ${name} : ${id};\n")
  math(EXPR count "${count} + 1")
endforeach()

if(NOT errors STREQUAL "")
  message(FATAL_ERROR "${TABLE}:\n${errors}")
endif()
if(count EQUAL 0)
  message(FATAL_ERROR "${TABLE}: no ids")
endif()

# Rewritten only when changed, so that a touched table rebuilds no more
# than it must.
foreach(kind header uil)
  string(TOUPPER ${kind} var)
  set(out "${${var}}")
  if(EXISTS "${out}")
    file(READ "${out}" old)
    if(old STREQUAL "${${kind}}")
      continue()
    endif()
  endif()
  file(WRITE "${out}" "${${kind}}")
endforeach()
