# Installs the library as C++ projects expect: headers, the shared libraries, a CMake package
# (find_package(msarender) gives msarender::msarender) and a pkg-config file.
include(CMakePackageConfigHelpers)

set_target_properties(msarender PROPERTIES EXPORT_NAME msarender)
set_target_properties(msaplatform PROPERTIES EXPORT_NAME platform)
set_target_properties(msaformats PROPERTIES EXPORT_NAME formats)
install(TARGETS msarender msaplatform msaformats EXPORT msarenderTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/msarender DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h")
# The model headers that the public headers include.
foreach(part common qtcommon sdm sqv formats)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/${part}
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/msarender/platform FILES_MATCHING PATTERN "*.h")
endforeach()

set(configDir ${CMAKE_INSTALL_LIBDIR}/cmake/msarender)
install(EXPORT msarenderTargets NAMESPACE msarender:: DESTINATION ${configDir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/msarenderConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/msarenderConfig.cmake INSTALL_DESTINATION ${configDir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/msarenderConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/msarenderConfig.cmake ${PROJECT_BINARY_DIR}/msarenderConfigVersion.cmake
        DESTINATION ${configDir})

configure_file(${PROJECT_SOURCE_DIR}/cmake/msarender.pc.in ${PROJECT_BINARY_DIR}/msarender.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/msarender.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
