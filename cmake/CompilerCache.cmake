# RELAYDESK_CCACHE=ON (the presets set it) compiles through ccache when it is installed and
# no launcher was given; without ccache the build is the same, only slower.
option(RELAYDESK_CCACHE "Compile through ccache when it is installed" OFF)

if(RELAYDESK_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    find_program(RELAYDESK_CCACHE_PROGRAM ccache)
    if(RELAYDESK_CCACHE_PROGRAM)
        set(CMAKE_C_COMPILER_LAUNCHER ${RELAYDESK_CCACHE_PROGRAM})
        set(CMAKE_CXX_COMPILER_LAUNCHER ${RELAYDESK_CCACHE_PROGRAM})
    endif()
endif()
