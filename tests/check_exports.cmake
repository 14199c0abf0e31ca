# The dynamic symbols the library defines are exactly the names of the
# export list, and the public header declares exactly those names (as
# TM_API routines or TM_API global blocks).
execute_process(COMMAND nm -D --defined-only ${LIB} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIB}")
endif()
string(REPLACE "\n" ";" lines "${out}")
set(found "")
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] ([^@ ]+)")
    list(APPEND found ${CMAKE_MATCH_1})
  endif()
endforeach()
list(SORT found)

file(STRINGS ${EXPECTED} expected REGEX "^[A-Za-z_][A-Za-z0-9_]*$")
list(SORT expected)

file(READ ${HEADER} header)
# Comments out of the way, so that a name mentioned in one is not taken for
# a declaration.
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" header "${header}")
string(REGEX REPLACE "#[^\n]*" "" header "${header}")
# Each declaration up to its "(" or ";": the name is its last word.
string(REGEX MATCHALL "TM_API[^;(]*" decls "${header}")
set(declared "")
foreach(decl IN LISTS decls)
  if(decl MATCHES "([A-Za-z_][A-Za-z0-9_]*)[ \t\r\n]*$")
    list(APPEND declared ${CMAKE_MATCH_1})
  endif()
endforeach()
list(SORT declared)

set(problems "")
if(NOT found STREQUAL expected)
  string(APPEND problems "library exports differ from the list\n  exported: ${found}\n  listed:   ${expected}\n")
endif()
if(NOT declared STREQUAL expected)
  string(APPEND problems "header declarations differ from the list\n  declared: ${declared}\n  listed:   ${expected}\n")
endif()
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
list(LENGTH expected count)
message(STATUS "${count} names exported, listed and declared")
