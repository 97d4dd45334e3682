# pkg-config files for hosts that build without CMake, one per library:
# velawidget, velawidget-curl, velawidget-quick (`pkg-config --cflags --libs
# velawidget-curl`). Each says what the library's CMake target hands on.
#
# A static library's dependencies are the host's to link, so they are listed
# as its own requirements and libraries. A shared library brings its own
# (DT_NEEDED); naming them as private requirements would only make pkg-config
# demand their development files for --cflags, which a host needs neither for
# the kit's headers nor for linking.

# The prefix is found from the .pc file's own place, so an installed tree can
# move; the libdir may be more than one level deep (lib/x86_64-linux-gnu).
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
    set(VELA_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
    set(VELA_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
    set(VELA_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}")
else()
    file(RELATIVE_PATH VELA_PC_UP "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
    string(REGEX REPLACE "/$" "" VELA_PC_UP "${VELA_PC_UP}")
    set(VELA_PC_PREFIX "\${pcfiledir}/${VELA_PC_UP}")
    set(VELA_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
    set(VELA_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()

# The flags besides the include directory that compiling against TARGET takes:
# its own interface definitions and options, as the installed CMake package
# hands them on (the libraries it requires add theirs through their own .pc).
function(vela_pc_cflags target out)
    set(flags)
    foreach(property IN ITEMS INTERFACE_COMPILE_DEFINITIONS INTERFACE_COMPILE_OPTIONS)
        get_target_property(values ${target} ${property})
        if(NOT values)
            continue()
        endif()
        foreach(value IN LISTS values)
            # What only the build tree sees never reaches an installed host.
            if(value MATCHES "^\\$<BUILD_INTERFACE:")
                continue()
            endif()
            string(REGEX REPLACE "^\\$<INSTALL_INTERFACE:(.*)>$" "\\1" value "${value}")
            if(value MATCHES "\\$<")
                message(FATAL_ERROR "${target}: ${property} has ${value}, which pkg-config cannot say")
            endif()
            if(property STREQUAL "INTERFACE_COMPILE_DEFINITIONS")
                string(PREPEND value "-D")
            endif()
            list(APPEND flags "${value}")
        endforeach()
    endforeach()
    list(JOIN flags " " flags)
    set(${out} "${flags}" PARENT_SCOPE)
endfunction()

# vela_pc_file(NAME TARGET [REQUIRES ...] [REQUIRES_STATIC ...] [LIBS ...]
#              [LIBS_STATIC ...] [CFLAGS ...] [OUTPUT FILE]): FILE (default
# NAME.pc in the build tree) from cmake/NAME.pc.in. The _STATIC parts count
# in a static build only.
function(vela_pc_file name target)
    cmake_parse_arguments(PC "" "OUTPUT" "REQUIRES;REQUIRES_STATIC;LIBS;LIBS_STATIC;CFLAGS"
        ${ARGN})
    if(NOT BUILD_SHARED_LIBS)
        list(APPEND PC_REQUIRES ${PC_REQUIRES_STATIC})
        list(APPEND PC_LIBS ${PC_LIBS_STATIC})
    endif()
    if(NOT PC_OUTPUT)
        set(PC_OUTPUT ${PROJECT_BINARY_DIR}/${name}.pc)
    endif()
    list(JOIN PC_REQUIRES ", " VELA_PC_REQUIRES)
    list(JOIN PC_LIBS " " VELA_PC_LIBS)
    vela_pc_cflags(${target} VELA_PC_TARGET_CFLAGS)
    set(VELA_PC_CFLAGS "-I\${includedir}")
    if(PC_CFLAGS)
        list(JOIN PC_CFLAGS " " PC_CFLAGS)
        string(APPEND VELA_PC_CFLAGS " ${PC_CFLAGS}")
    endif()
    if(VELA_PC_TARGET_CFLAGS)
        string(APPEND VELA_PC_CFLAGS " ${VELA_PC_TARGET_CFLAGS}")
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/cmake/${name}.pc.in ${PC_OUTPUT} @ONLY)
endfunction()

set(VELA_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

vela_pc_file(velawidget velawidget
    LIBS "-L\${libdir}" -lvelawidget -pthread
    REQUIRES_STATIC icu-uc icu-i18n
    LIBS_STATIC -lboost_url -lboost_json)
install(FILES ${PROJECT_BINARY_DIR}/velawidget.pc DESTINATION ${VELA_PC_DIR} COMPONENT dev)

if(TARGET velawidget_curl)
    vela_pc_file(velawidget-curl velawidget_curl
        REQUIRES "velawidget = ${PROJECT_VERSION}"
        REQUIRES_STATIC libcurl zlib
        LIBS "-L\${libdir}" -lvelawidget_curl)
    install(FILES ${PROJECT_BINARY_DIR}/velawidget-curl.pc DESTINATION ${VELA_PC_DIR}
        COMPONENT dev)
endif()

if(TARGET velawidget_quick)
    set(VELA_PC_QUICK_REQUIRES "velawidget = ${PROJECT_VERSION}"
        Qt6Quick Qt6QuickControls2 Qt6Network Qt6Svg)
    # Qt built with reduce-relocations refuses code that is not position
    # independent (a compiler whose default is -no-pie); its CMake targets
    # hand on -fPIC, its .pc files do not.
    set(VELA_PC_QUICK_CFLAGS)
    get_target_property(vela_qt_options Qt6::Core INTERFACE_COMPILE_OPTIONS)
    if("-fPIC" IN_LIST vela_qt_options)
        set(VELA_PC_QUICK_CFLAGS -fPIC)
    endif()
    if(BUILD_SHARED_LIBS)
        # The QML module is Qt's to load from its import path. The packaged
        # file leaves -fPIC to the host as Qt's own .pc files do (Debian's
        # policy refuses code-generation flags in them); the docs say so.
        vela_pc_file(velawidget-quick velawidget_quick
            REQUIRES ${VELA_PC_QUICK_REQUIRES}
            LIBS "-L\${libdir}" -lvelawidget_quick)
        install(FILES ${PROJECT_BINARY_DIR}/velawidget-quick.pc DESTINATION ${VELA_PC_DIR}
            COMPONENT quick_dev)
    else()
        # A static QML module is linked in: its object files (resources,
        # compiled views, the plugin's import) whole, before the plugin and the
        # library they call. Where the objects land is known only once they are
        # installed, so the install writes the file (VelaWidgetQuickPc.cmake.in).
        vela_pc_file(velawidget-quick velawidget_quick
            OUTPUT ${PROJECT_BINARY_DIR}/velawidget-quick.pc.stage
            REQUIRES ${VELA_PC_QUICK_REQUIRES}
            REQUIRES_STATIC zlib
            LIBS "@VELA_QUICK_OBJECTS@" "-L\${libdir}" -lvelawidget_quickplugin -lvelawidget_quick
            CFLAGS ${VELA_PC_QUICK_CFLAGS})
        configure_file(${PROJECT_SOURCE_DIR}/cmake/VelaWidgetQuickPc.cmake.in
            ${PROJECT_BINARY_DIR}/VelaWidgetQuickPc.cmake @ONLY)
        install(SCRIPT ${PROJECT_BINARY_DIR}/VelaWidgetQuickPc.cmake COMPONENT quick_dev)
    endif()
endif()
