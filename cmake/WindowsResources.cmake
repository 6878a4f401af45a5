# Gives a Windows executable its resources from res/relaydesk.rc.in: the version resource
# from the project's version, the icon (made from res/relaydesk.xpm) and the manifest.
# Does nothing on other systems, whose executables carry no resources.
function(relaydesk_windows_resources target description)
    if(NOT WIN32)
        return()
    endif()
    set(RELAYDESK_RC_NAME ${target})
    set(RELAYDESK_RC_DESCRIPTION "${description}")
    set(RELAYDESK_RC_PATCH ${PROJECT_VERSION_PATCH})
    set(RELAYDESK_RC_TWEAK ${PROJECT_VERSION_TWEAK})
    if(RELAYDESK_RC_PATCH STREQUAL "")
        set(RELAYDESK_RC_PATCH 0)
    endif()
    if(RELAYDESK_RC_TWEAK STREQUAL "")
        set(RELAYDESK_RC_TWEAK 0)
    endif()
    set(RELAYDESK_RC_VERSION4 ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${RELAYDESK_RC_PATCH}.${RELAYDESK_RC_TWEAK})

    # One icon for every executable, converted once.
    set(RELAYDESK_RC_ICON ${CMAKE_BINARY_DIR}/res/relaydesk.ico)
    if(NOT TARGET relaydesk_icon)
        find_program(RELAYDESK_CONVERT convert REQUIRED)
        add_custom_command(OUTPUT ${RELAYDESK_RC_ICON}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/res
            COMMAND ${RELAYDESK_CONVERT} ${CMAKE_SOURCE_DIR}/res/relaydesk.xpm
                    -define icon:auto-resize=32,16 ${RELAYDESK_RC_ICON}
            DEPENDS ${CMAKE_SOURCE_DIR}/res/relaydesk.xpm VERBATIM)
        add_custom_target(relaydesk_icon DEPENDS ${RELAYDESK_RC_ICON})
    endif()

    set(out ${CMAKE_CURRENT_BINARY_DIR}/resources-${target})
    set(RELAYDESK_RC_MANIFEST ${out}/${target}.manifest)
    configure_file(${CMAKE_SOURCE_DIR}/res/relaydesk.manifest.in ${RELAYDESK_RC_MANIFEST} @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/res/relaydesk.rc.in ${out}/${target}.rc @ONLY)
    set_source_files_properties(${out}/${target}.rc PROPERTIES
        OBJECT_DEPENDS "${RELAYDESK_RC_ICON};${RELAYDESK_RC_MANIFEST}")
    target_sources(${target} PRIVATE ${out}/${target}.rc)
    add_dependencies(${target} relaydesk_icon)
endfunction()
