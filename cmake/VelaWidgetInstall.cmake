# Installs the libraries, the public headers, a CMake package and pkg-config
# files (VelaWidgetPkgConfig.cmake): `cmake --install BUILD --prefix DIR`.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VELA_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/VelaWidget)
# A static package's config file finds the libraries the kit's libraries use.
if(BUILD_SHARED_LIBS)
    set(VELA_STATIC_PACKAGE "")
else()
    set(VELA_STATIC_PACKAGE ON)
endif()

# Each component has its own export set, so a host asks only for what it links.
# The install components split the files the way the Debian packages do
# (cmake/VelaWidgetPackaging.cmake): a library's runtime part (`runtime`)
# and what building against it takes (`dev`).
function(vela_install_component target component runtime dev)
    install(TARGETS ${target} EXPORT VelaWidget${component}Targets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${dev}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ${runtime} NAMELINK_COMPONENT ${dev}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${runtime}
        FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT ${dev}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    install(EXPORT VelaWidget${component}Targets NAMESPACE VelaWidget::
        DESTINATION ${VELA_PACKAGE_DIR} COMPONENT ${dev})
endfunction()

vela_install_component(velawidget Core core dev)
if(TARGET velawidget_curl)
    vela_install_component(velawidget_curl curl curl dev)
endif()
if(TARGET velawidget_quick)
    vela_install_component(velawidget_quick quick quick quick_dev)
endif()

# Every program that links the curl client compiles this file (see its
# CMakeLists.txt); it sits beside the client's header.
if(TARGET velawidget_curl)
    install(FILES ${PROJECT_SOURCE_DIR}/include/velawidget/curl/LinkDefaultClient.cpp
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/velawidget/curl COMPONENT dev)
endif()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/VelaWidgetConfig.cmake.in
    ${PROJECT_BINARY_DIR}/VelaWidgetConfig.cmake INSTALL_DESTINATION ${VELA_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VelaWidgetConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VelaWidgetConfig.cmake
    ${PROJECT_BINARY_DIR}/VelaWidgetConfigVersion.cmake DESTINATION ${VELA_PACKAGE_DIR}
    COMPONENT dev)

include(${PROJECT_SOURCE_DIR}/cmake/VelaWidgetPkgConfig.cmake)
