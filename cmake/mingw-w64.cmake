# Cross-compiles the program for 64-bit Windows, or with RELAYDESK_WINDOWS_PROCESSOR=i686 for
# 32-bit Windows (the windows32 preset: the Windows libvips and wxMSW here are 64-bit only, so
# it builds without the engine and the window). The posix thread model of mingw-w64 is the
# one whose libstdc++ has std::thread and std::mutex.
set(RELAYDESK_WINDOWS_PROCESSOR x86_64 CACHE STRING "x86_64 (64-bit Windows) or i686 (32-bit)")
# CMake's own test projects load this file again: they must see the same processor.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES RELAYDESK_WINDOWS_PROCESSOR)
set(mingw_triple ${RELAYDESK_WINDOWS_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${RELAYDESK_WINDOWS_PROCESSOR})
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

# Only the mingw-w64 tree and the Windows dependencies are searched: neither find_package
# nor pkg-config may hand a Windows build the Linux libraries.
if(NOT RELAYDESK_WIN64_DEPS)
    execute_process(
        COMMAND bash -c "source \"$1\" && printf %s \"$RELAYDESK_WIN64_DEPS\"" win64-deps
                ${CMAKE_CURRENT_LIST_DIR}/../scripts/win64-deps.sh
        OUTPUT_VARIABLE RELAYDESK_WIN64_DEPS COMMAND_ERROR_IS_FATAL ANY)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple} ${RELAYDESK_WIN64_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/${mingw_triple}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# The mingw runtime (libgcc, libstdc++, winpthread) is linked into every program and
# library, so that no mingw DLL has to travel with them. -static rather than
# -static-libgcc -static-libstdc++: the driver adds winpthread after every user flag, so
# only -static keeps it from being linked as libwinpthread-1.dll. Windows' own DLLs and
# the dependencies' import libraries (given by full path) are linked as before.
# 32-bit Windows decorates __stdcall names (DllRegisterServer@0); the .def files export them
# undecorated, as Windows' own DLLs do, which the stdcall fix-up links without a warning.
set(mingw_link_flags "-static")
if(RELAYDESK_WINDOWS_PROCESSOR STREQUAL "i686")
    string(APPEND mingw_link_flags " -Wl,--enable-stdcall-fixup")
endif()
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "${mingw_link_flags}")
endforeach()
