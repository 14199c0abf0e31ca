# Installation: the library with its soname links, the public headers and
# the Fortran interface module source, a CMake package (thermomodels::
# thermomodels) and a pkg-config file.
include(CMakePackageConfigHelpers)

set(TM_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/thermomodels)
install(TARGETS thermomodels EXPORT thermomodelsTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/thermomodels.h
              ${TM_GENERATED_INCLUDE}/thermomodels_version.h
              ${PROJECT_SOURCE_DIR}/include/thermomodels.f90
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT thermomodelsTargets NAMESPACE thermomodels:: DESTINATION ${TM_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/thermomodelsConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/thermomodelsConfig.cmake
                              INSTALL_DESTINATION ${TM_CMAKE_DIR}
                              PATH_VARS CMAKE_INSTALL_INCLUDEDIR CMAKE_INSTALL_LIBDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/thermomodelsConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/thermomodelsConfig.cmake
              ${PROJECT_BINARY_DIR}/thermomodelsConfigVersion.cmake
        DESTINATION ${TM_CMAKE_DIR})

# The pkg-config file finds its prefix from its own place, so the installed
# tree can be moved (and installed with cmake --install --prefix).
set(TM_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(TM_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(TM_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
  file(RELATIVE_PATH TM_PC_UP /root/${TM_PC_DIR} /root)
  string(REGEX REPLACE "/$" "" TM_PC_UP "${TM_PC_UP}")
  set(TM_PC_PREFIX "\${pcfiledir}/${TM_PC_UP}")
  set(TM_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(TM_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(TM_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/thermomodels.pc.in ${PROJECT_BINARY_DIR}/thermomodels.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/thermomodels.pc DESTINATION ${TM_PC_DIR})
