# Cross-compiles the program for 64-bit Windows. The posix thread model of mingw-w64 is the
# one whose libstdc++ has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Only the mingw-w64 tree and the Windows dependencies are searched: neither find_package
# nor pkg-config may hand a Windows build the Linux libraries.
if(NOT RELAYDESK_WIN64_DEPS)
    execute_process(
        COMMAND bash -c "source \"$1\" && printf %s \"$RELAYDESK_WIN64_DEPS\"" win64-deps
                ${CMAKE_CURRENT_LIST_DIR}/../scripts/win64-deps.sh
        OUTPUT_VARIABLE RELAYDESK_WIN64_DEPS COMMAND_ERROR_IS_FATAL ANY)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${RELAYDESK_WIN64_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/x86_64-w64-mingw32/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# The mingw runtime (libgcc, libstdc++, winpthread) is linked into every program and
# library, so that no mingw DLL has to travel with them. -static rather than
# -static-libgcc -static-libstdc++: the driver adds winpthread after every user flag, so
# only -static keeps it from being linked as libwinpthread-1.dll. Windows' own DLLs and
# the dependencies' import libraries (given by full path) are linked as before.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-static")
endforeach()
