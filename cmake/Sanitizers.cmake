if(RELAYDESK_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    # GCC 12's flow analysis, changed by the sanitizer's instrumentation, takes the
    # std::function inside std::regex's states for uninitialised; the warning stays, as a
    # warning, in this build only.
    add_compile_options(-Wno-error=maybe-uninitialized)
elseif(RELAYDESK_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(NOT RELAYDESK_SANITIZE STREQUAL "")
    message(FATAL_ERROR "RELAYDESK_SANITIZE must be empty, address or thread")
endif()
