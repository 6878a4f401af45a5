# Cross-compiles the core for 64-bit Windows. The posix thread model of mingw-w64 is the
# one whose libstdc++ has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# No mingw runtime DLL is shipped: executables link libgcc, libstdc++ and winpthread in;
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# DLLs the same, keeping the system DLLs (and libvips) dynamic.
set(relaydesk_static_runtime "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${relaydesk_static_runtime}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${relaydesk_static_runtime}")
