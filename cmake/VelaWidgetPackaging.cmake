# Debian packages of a shared build, made by CPack (`./run package`): one
# package per library, its -dev package, the QML module and the tools.
# The install components of cmake/VelaWidgetInstall.cmake say which file goes
# where; this file names the packages and their relations.
if(NOT BUILD_SHARED_LIBS)
    return()
endif()

if(TARGET vela-banks AND TARGET vela-sandbox)
    install(TARGETS vela-banks vela-sandbox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT tools)
endif()

set(VELA_DEB_MAINTAINER_LINE "VelaWidget developers <maintainers@${VELA_SERVICE_DOMAIN}>")
# The packages are built for the release of the machine that builds them and
# say so in their version (1.0.0-1~deb12, 1.0.0-1~deb13): each release's build
# of a version is a package of its own, and a release's own later build wins.
cmake_host_system_information(RESULT VELA_DEB_RELEASE_ID QUERY DISTRIB_VERSION_ID)
string(REGEX REPLACE "\\..*" "" VELA_DEB_RELEASE_ID "${VELA_DEB_RELEASE_ID}")
if(NOT VELA_DEB_RELEASE_ID MATCHES "^[0-9]+$")
    message(FATAL_ERROR "The Debian packages are built on Debian; /etc/os-release names no release")
endif()
set(VELA_DEB_RELEASE 1~deb${VELA_DEB_RELEASE_ID})
set(VELA_DEB_VERSION ${PROJECT_VERSION}-${VELA_DEB_RELEASE})
set(VELA_DEB_EXACT "(= ${VELA_DEB_VERSION})")
# component  package  section  summary
set(VELA_DEB_PACKAGES
    "core|libvelawidget${PROJECT_VERSION_MAJOR}|libs|bank selector kit for instant payments - core library"
    "curl|libvelawidget-curl${PROJECT_VERSION_MAJOR}|libs|bank selector kit for instant payments - HTTP client on libcurl"
    "dev|libvelawidget-dev|libdevel|bank selector kit for instant payments - development files"
    "quick|libvelawidget-quick${PROJECT_VERSION_MAJOR}|libs|bank selector kit for instant payments - Qt Quick selector"
    "qml|qml6-module-velawidget|libs|bank selector kit for instant payments - QML module"
    "quick_dev|libvelawidget-quick-dev|libdevel|bank selector kit for instant payments - Qt Quick development files"
    "tools|velawidget-tools|utils|bank selector kit for instant payments - command-line tools")
set(VELA_DEB_EXTENDED
    "VelaWidget takes a payment link, downloads the list of banks that take
 part in the instant-payment system, caches it and offers each bank with a
 ready-made link.")

# Changelog and copyright are what every Debian package carries in its doc directory.
set(VELA_DEB_DOC ${PROJECT_BINARY_DIR}/debian-doc)
file(MAKE_DIRECTORY ${VELA_DEB_DOC})
string(TIMESTAMP VELA_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${VELA_DEB_DOC}/changelog.Debian
"velawidget (${VELA_DEB_VERSION}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}; see CHANGELOG.md in the source tree.

 -- ${VELA_DEB_MAINTAINER_LINE}  ${VELA_DEB_DATE}
")
execute_process(COMMAND gzip -9nf ${VELA_DEB_DOC}/changelog.Debian)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE VELA_LICENSE_TEXT)
string(REGEX REPLACE "\n\n" "\n.\n" VELA_LICENSE_TEXT "${VELA_LICENSE_TEXT}")
string(REGEX REPLACE "\n([^\n])" "\n \\1" VELA_LICENSE_TEXT "${VELA_LICENSE_TEXT}")
file(WRITE ${VELA_DEB_DOC}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: VelaWidget

Files: *
Copyright: 2026 The VelaWidget developers
License: MIT
 ${VELA_LICENSE_TEXT}")

set(CPACK_COMPONENTS_ALL)
foreach(entry IN LISTS VELA_DEB_PACKAGES)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 component)
    list(GET entry 1 package)
    list(GET entry 2 section)
    list(GET entry 3 summary)
    if((component MATCHES "quick|qml" AND NOT TARGET velawidget_quick)
       OR (component STREQUAL "curl" AND NOT TARGET velawidget_curl)
       OR (component STREQUAL "tools" AND NOT TARGET vela-banks))
        continue()
    endif()
    list(APPEND CPACK_COMPONENTS_ALL ${component})
    string(TOUPPER ${component} upper)
    set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package})
    set(CPACK_DEBIAN_${upper}_PACKAGE_SECTION ${section})
    set(CPACK_COMPONENT_${upper}_DESCRIPTION "${summary}\n${VELA_DEB_EXTENDED}")
    set(VELA_DEB_${upper} ${package})
    install(FILES ${VELA_DEB_DOC}/copyright ${VELA_DEB_DOC}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
    # A library package names itself for its SONAME (shlibs) and lets dpkg
    # run ldconfig once for all packages (triggers).
    if(section STREQUAL "libs" AND NOT component STREQUAL "qml")
        set(library velawidget)
        if(NOT component STREQUAL "core")
            set(library velawidget_${component})
        endif()
        set(control ${PROJECT_BINARY_DIR}/debian-control/${component})
        file(MAKE_DIRECTORY ${control})
        file(WRITE ${control}/shlibs
            "lib${library} ${PROJECT_VERSION_MAJOR} ${package} (>= ${PROJECT_VERSION})\n")
        file(WRITE ${control}/triggers "activate-noawait ldconfig\n")
        set(CPACK_DEBIAN_${upper}_PACKAGE_CONTROL_EXTRA ${control}/shlibs ${control}/triggers)
    endif()
endforeach()

# Libraries that link the kit's private names need its exact build.
set(CPACK_DEBIAN_CURL_PACKAGE_DEPENDS "${VELA_DEB_CORE} ${VELA_DEB_EXACT}")
# GIO (the URL opener) and libqrencode (the phone code) are opened on first
# use, so the automatic dependencies cannot see them; glib's package took a
# t64 suffix in Debian 13.
set(CPACK_DEBIAN_QUICK_PACKAGE_DEPENDS "${VELA_DEB_CORE} ${VELA_DEB_EXACT}, \
libglib2.0-0t64 | libglib2.0-0, libqrencode4")
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS
    "${VELA_DEB_CORE} ${VELA_DEB_EXACT}, ${VELA_DEB_CURL} ${VELA_DEB_EXACT}")
set(CPACK_DEBIAN_QML_PACKAGE_DEPENDS "${VELA_DEB_QUICK} ${VELA_DEB_EXACT}, qml6-module-qtquick, \
qml6-module-qtquick-controls, qml6-module-qtquick-templates, qml6-module-qtquick-window, \
qml6-module-qtqml-workerscript")
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "${VELA_DEB_CORE} ${VELA_DEB_EXACT}")
if(VELA_DEB_CURL)
    string(APPEND CPACK_DEBIAN_DEV_PACKAGE_DEPENDS ", ${VELA_DEB_CURL} ${VELA_DEB_EXACT}")
endif()
set(CPACK_DEBIAN_QUICK_DEV_PACKAGE_DEPENDS "libvelawidget-dev ${VELA_DEB_EXACT}, \
${VELA_DEB_QUICK} ${VELA_DEB_EXACT}, ${VELA_DEB_QML} ${VELA_DEB_EXACT}, \
qt6-base-dev, qt6-declarative-dev, qt6-svg-dev")

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_PACKAGE_NAME velawidget)
set(CPACK_PACKAGE_VENDOR "VelaWidget developers")
set(CPACK_PACKAGE_CONTACT "${VELA_DEB_MAINTAINER_LINE}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VELA_DEB_MAINTAINER_LINE}")
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VELA_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${VELA_SERVICE_DOMAIN}/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/src
    ${PROJECT_BINARY_DIR}/src/platform/curl ${PROJECT_BINARY_DIR}/src/screens)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
