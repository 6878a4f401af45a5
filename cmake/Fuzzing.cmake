# The fuzz build: libFuzzer targets for the parsers of outside data (fuzz/, docs/fuzzing.md).
# Everything is compiled with coverage for the fuzzer and with the address and undefined
# behaviour sanitizers; only the platform layer, the core and the targets are built.
option(RELAYDESK_FUZZ "Build the libFuzzer targets of the parsers (clang only)" OFF)

if(RELAYDESK_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT CMAKE_C_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "RELAYDESK_FUZZ needs clang (libFuzzer): configure with "
                            "-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
    endif()
    if(NOT RELAYDESK_SANITIZE STREQUAL "")
        message(FATAL_ERROR "RELAYDESK_FUZZ brings its own sanitizers: leave RELAYDESK_SANITIZE empty")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    # A normal variable over the cache option: the components, tools, tests and window are
    # not part of this build.
    set(RELAYDESK_CORE_ONLY ON)
endif()
