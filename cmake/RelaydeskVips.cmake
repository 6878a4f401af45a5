# The image library as one target, relaydesk_vips, for the engine and its tests.
#
# Linux: the system's vips-cpp through pkg-config. Windows: the prebuilt libvips-42.dll that
# scripts/fetch-windows-libvips unpacks into RELAYDESK_WIN64_DEPS, with its C++ binding
# compiled from the sources shipped beside its headers (the Linux vips-cpp cannot be
# linked into a Windows library). Without the Windows libvips RELAYDESK_HAVE_VIPS is OFF.
if(NOT WIN32)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(VIPS REQUIRED IMPORTED_TARGET vips-cpp)
    add_library(relaydesk_vips INTERFACE)
    target_link_libraries(relaydesk_vips INTERFACE PkgConfig::VIPS)
    set(RELAYDESK_HAVE_VIPS ON)
    return()
endif()

set(vips_root ${RELAYDESK_WIN64_DEPS}/libvips)
set(vips_dll ${vips_root}/win32-x64/lib/libvips-42.dll)
if(NOT EXISTS ${vips_dll} OR NOT EXISTS ${vips_root}/dev/cplusplus/VImage.cpp)
    message(STATUS "Windows libvips not found in ${vips_root} (scripts/fetch-windows-libvips): "
                   "the composition engine and its tests are skipped")
    set(RELAYDESK_HAVE_VIPS OFF)
    return()
endif()
set(RELAYDESK_HAVE_VIPS ON)

# The DLL is linked directly (mingw's linker reads its exports); it travels with the program.
add_library(relaydesk_vips_dll SHARED IMPORTED)
set_target_properties(relaydesk_vips_dll PROPERTIES
    IMPORTED_LOCATION ${vips_dll}
    IMPORTED_IMPLIB ${vips_dll})
# Dependencies' headers are system headers: their warnings are not ours to fix.
target_include_directories(relaydesk_vips_dll SYSTEM INTERFACE
    ${vips_root}/dev/include
    ${vips_root}/dev/include/glib-2.0
    ${vips_root}/win32-x64/lib/glib-2.0/include)
configure_file(${vips_dll} ${RELAYDESK_PROGRAM_DIR}/libvips-42.dll COPYONLY)
install(FILES ${vips_dll} DESTINATION .)

# vips-operators.cpp is included by VImage.cpp, not compiled alone.
add_library(relaydesk_vips STATIC)
foreach(source VConnection VError VImage VInterpolate VRegion)
    target_sources(relaydesk_vips PRIVATE ${vips_root}/dev/cplusplus/${source}.cpp)
endforeach()
target_link_libraries(relaydesk_vips PUBLIC relaydesk_vips_dll)
