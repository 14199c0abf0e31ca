# Configures the library alone as the README's install recipe does, with no test tool and no C
# compiler to be found; installs the build tree into a temporary prefix, then builds and runs a
# small host against it twice: as a CMake project with find_package (also after the host's own
# install), and with the compiler flags pkg-config gives.
set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed:\n${out}")
  endif()
  message("${what}: ok\n${out}")
endfunction()

run("configure the library alone"
    ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK}/library_only -G ${GENERATOR} -DBUILD_TESTING=OFF
    -DTM_BUILD_EXAMPLES=OFF -DTM_BENCH=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON -DCMAKE_C_COMPILER=/nonexistent/cc)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK}/library_only --target help
                OUTPUT_VARIABLE targets)
if(NOT targets MATCHES "thermomodels" OR targets MATCHES "test_|bench_|_host|header_c_check")
  message(FATAL_ERROR "targets of the library alone:\n${targets}")
endif()

run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# Libraries, headers, Fortran module source, package files: all in place.
file(GLOB_RECURSE libs ${prefix}/*/libthermomodels.so*)
file(GLOB_RECURSE pcfile ${prefix}/*/thermomodels.pc)
file(GLOB_RECURSE config ${prefix}/*/thermomodelsConfig.cmake)
foreach(f include/thermomodels.h include/thermomodels_version.h include/thermomodels.f90)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
list(LENGTH libs nlibs)
if(NOT nlibs EQUAL 3 OR NOT pcfile OR NOT config)
  message(FATAL_ERROR "installed: ${libs} ${pcfile} ${config}")
endif()

# find_package(thermomodels) and thermomodels::thermomodels.
run("configure the CMake consumer"
    ${CMAKE_COMMAND} -S ${CONSUMER} -B ${WORK}/cmake_consumer -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_C_COMPILER=${CC} -DCMAKE_C_FLAGS=${FLAGS}
    -DCMAKE_Fortran_FLAGS=${FLAGS} -DCMAKE_BUILD_TYPE=Release)
run("build the CMake consumer" ${CMAKE_COMMAND} --build ${WORK}/cmake_consumer)
run("run the CMake consumer" ${WORK}/cmake_consumer/consumer)
run("install the CMake consumer" ${CMAKE_COMMAND} --install ${WORK}/cmake_consumer --prefix ${WORK}/host)
run("run the installed CMake consumer" ${WORK}/host/bin/consumer)
if(EXISTS ${WORK}/cmake_consumer/fortran_consumer)
  run("run the Fortran consumer" ${WORK}/cmake_consumer/fortran_consumer)
endif()

# pkg-config --cflags --libs thermomodels.
get_filename_component(pcdir ${pcfile} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pcdir})
execute_process(COMMAND pkg-config --cflags --libs thermomodels
                RESULT_VARIABLE rc OUTPUT_VARIABLE pcflags OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND pkg-config --variable=libdir thermomodels
                OUTPUT_VARIABLE libdir OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND pkg-config --modversion thermomodels
                OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0 OR NOT pcflags)
  message(FATAL_ERROR "pkg-config does not know thermomodels")
endif()
separate_arguments(pcflags UNIX_COMMAND "${pcflags}")
separate_arguments(flags UNIX_COMMAND "${FLAGS}")
run("build the pkg-config consumer"
    ${CC} ${flags} "-DPACKAGE_VERSION=\"${version}\"" ${CONSUMER}/consumer.c -o ${WORK}/pc_consumer
    ${pcflags} -lm -Wl,-rpath,${libdir})
run("run the pkg-config consumer" ${WORK}/pc_consumer)
