# What a Windows build can make with the dependencies present, and how its tests run.
#
# The Windows libvips and wxMSW are fetched and built into RELAYDESK_WIN64_DEPS by their own
# scripts; without them the engine (cmake/RelaydeskVips.cmake) and the window are left out
# (with a message), and the tests that need them with them. The Linux build finds its libraries
# through pkg-config and find_package and needs none of this.
set(RELAYDESK_WIN64_DEPS "${RELAYDESK_WIN64_DEPS}" CACHE PATH
    "Folder of the Windows dependencies (libvips/, wxmsw/)")

set(RELAYDESK_WXMSW_CONFIG ${RELAYDESK_WIN64_DEPS}/wxmsw/bin/wx-config)
if(RELAYDESK_BUILD_GUI AND NOT EXISTS ${RELAYDESK_WXMSW_CONFIG})
    message(STATUS "wxMSW not found in ${RELAYDESK_WIN64_DEPS}/wxmsw (scripts/build-wx-mingw "
                   "builds it): the window and its tests are skipped")
    set(RELAYDESK_BUILD_GUI OFF)
endif()

# Tests run under wine when cross-compiling; without wine they still build.
if(CMAKE_CROSSCOMPILING)
    find_program(WINE_PROGRAM wine)
    if(WINE_PROGRAM)
        set(RELAYDESK_DEFAULT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
        configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
    else()
        message(STATUS "wine not found: the Windows tests build but cannot run here")
    endif()
endif()
