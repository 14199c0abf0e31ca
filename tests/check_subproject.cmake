# Configures a host project that adds this source tree with add_subdirectory and checks that it gets
# the library only: no test, benchmark, example or Fortran target, and no GoogleTest or Google
# Benchmark looked for.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SUBPROJECT} -B ${WORK} -G ${GENERATOR}
                        -DTHERMOMODELS_SOURCE_DIR=${SOURCE_DIR}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configure failed:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK} --target help
                OUTPUT_VARIABLE targets RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT targets MATCHES "thermomodels" OR NOT targets MATCHES "host")
  message(FATAL_ERROR "targets of the host project:\n${targets}")
endif()
if(targets MATCHES "test_|bench_|example_host|water_host|fortran|header_c_check")
  message(FATAL_ERROR "add_subdirectory pulled in more than the library:\n${targets}")
endif()
if(out MATCHES "GTest|benchmark|Fortran")
  message(FATAL_ERROR "add_subdirectory looked for test tools:\n${out}")
endif()
