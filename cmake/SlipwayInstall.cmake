# Installation: the programs under the usual GNU directories, with what the Linux desktop needs
# from each (man page, desktop entry, icons, thumbnailer), and the rule that every program under
# apps/ is installed.

include(GNUInstallDirs)

# The PNG sizes every icon is also installed in (and compiled into its window program).
set(SLIPWAY_ICON_SIZES 16 24 32 48 64 128 256)

function(slipway_find_tool variable program package)
    find_program(${variable} ${program})
    if(NOT ${variable})
        message(FATAL_ERROR "${program} is missing (Debian package ${package}); "
                            "tools/install-deps.sh installs it")
    endif()
endfunction()

# Installs a program with the files its folder carries for the desktop, found by name:
#   NAME.1.scd        its man page (scdoc markup), built to troff at build time; required
#   NAME.desktop      its desktop entry (window programs), installed as slipway-NAME.desktop
#   NAME.svg          its icon (required with a desktop entry), installed as slipway-NAME into
#                     the hicolor theme, scalable and as PNGs of SLIPWAY_ICON_SIZES; when the
#                     program links Qt's GUI the PNGs are also compiled into it, for
#                     programIcon() (qtshell/ProgramIcon.h)
#   NAME.thumbnailer  a freedesktop thumbnailer entry, installed as slipway-NAME.thumbnailer
# NAME is the installed name: the target's own unless AS gives another. Call it last in the
# folder's CMakeLists.txt, once the target's links are set. tests/install checks the result.
# Usage: slipway_install_program(TARGET [AS NAME])
function(slipway_install_program target)
    cmake_parse_arguments(ARG "" "AS" "" ${ARGN})
    set(name ${target})
    if(ARG_AS)
        set(name ${ARG_AS})
    endif()
    set(src ${CMAKE_CURRENT_SOURCE_DIR})
    set(bin ${CMAKE_CURRENT_BINARY_DIR})
    set(built "")

    if(name STREQUAL target)
        install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    else()
        install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION ${CMAKE_INSTALL_BINDIR}
                RENAME ${name})
    endif()

    set(page ${src}/${name}.1.scd)
    if(NOT EXISTS ${page})
        message(FATAL_ERROR "${name} has no man page: write ${page}")
    endif()
    slipway_find_tool(SLIPWAY_SCDOC scdoc scdoc)
    add_custom_command(OUTPUT ${bin}/${name}.1.gz
        COMMAND ${CMAKE_COMMAND} -DSCDOC=${SLIPWAY_SCDOC} -DINPUT=${page}
                -DOUTPUT=${bin}/${name}.1.gz -P ${PROJECT_SOURCE_DIR}/cmake/BuildManPage.cmake
        DEPENDS ${page} ${PROJECT_SOURCE_DIR}/cmake/BuildManPage.cmake
        COMMENT "Building the man page of ${name}"
        VERBATIM)
    list(APPEND built ${bin}/${name}.1.gz)
    install(FILES ${bin}/${name}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    set(desktop ${src}/${name}.desktop)
    set(icon ${src}/${name}.svg)
    if(EXISTS ${desktop})
        if(NOT EXISTS ${icon})
            message(FATAL_ERROR "${name} has a desktop entry but no icon: draw ${icon}")
        endif()
        install(FILES ${desktop} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
                RENAME slipway-${name}.desktop)
        set_property(GLOBAL APPEND PROPERTY SLIPWAY_DESKTOP_PROGRAMS ${name})
    endif()
    if(EXISTS ${icon})
        slipway_find_tool(SLIPWAY_RSVG_CONVERT rsvg-convert librsvg2-bin)
        install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
                RENAME slipway-${name}.svg)
        set(pngs "")
        foreach(size ${SLIPWAY_ICON_SIZES})
            set(png ${bin}/icon/${size}.png)
            add_custom_command(OUTPUT ${png}
                COMMAND ${SLIPWAY_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon}
                DEPENDS ${icon}
                VERBATIM)
            install(FILES ${png}
                    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                    RENAME slipway-${name}.png)
            list(APPEND pngs ${png})
        endforeach()
        list(APPEND built ${pngs})
        slipway_link_closure(${target} reached)
        if("Qt6::Gui" IN_LIST reached OR "Qt6::Widgets" IN_LIST reached)
            qt_add_resources(${target} ${name}_program_icon PREFIX /slipway/icon
                             BASE ${bin}/icon FILES ${pngs})
        endif()
    endif()

    set(thumbnailer ${src}/${name}.thumbnailer)
    if(EXISTS ${thumbnailer})
        install(FILES ${thumbnailer} DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers
                RENAME slipway-${name}.thumbnailer)
    endif()

    add_custom_target(${name}_installed_files ALL DEPENDS ${built})
    set_property(GLOBAL APPEND PROPERTY SLIPWAY_INSTALLED_PROGRAMS ${name})
    set_property(GLOBAL APPEND PROPERTY SLIPWAY_INSTALLED_TARGETS ${target})
    set_property(GLOBAL PROPERTY SLIPWAY_PROGRAM_TARGET_${name} ${target})
    set_property(GLOBAL PROPERTY SLIPWAY_PROGRAM_PAGE_${name} ${page})
endfunction()

# Fails the configuration when a program built under apps/ is not installed through
# slipway_install_program: a new program joins the installation, the package and the install
# test by carrying its files and calling the helper, never by being forgotten.
function(slipway_check_programs_installed)
    get_property(installed GLOBAL PROPERTY SLIPWAY_INSTALLED_TARGETS)
    file(GLOB folders LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/apps/*)
    foreach(folder ${folders})
        if(NOT EXISTS ${folder}/CMakeLists.txt)
            continue()
        endif()
        get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target ${targets})
            get_target_property(type ${target} TYPE)
            if(type STREQUAL "EXECUTABLE" AND NOT target IN_LIST installed)
                file(RELATIVE_PATH where ${PROJECT_SOURCE_DIR} ${folder})
                message(FATAL_ERROR "${where} builds the program ${target} but does not install "
                                    "it: end ${where}/CMakeLists.txt with "
                                    "slipway_install_program(${target}) (see "
                                    "cmake/SlipwayInstall.cmake for the files it installs)")
            endif()
        endforeach()
    endforeach()
endfunction()
