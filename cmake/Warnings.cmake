# One place for warnings: every target of the project calls relaydesk_warnings().
function(relaydesk_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4)
    else()
        # C and C++ only: a target's Windows resources go through the resource compiler.
        target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:C,CXX>:-Wall;-Wextra;-Wshadow>")
        if(RELAYDESK_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:C,CXX>:-Werror>")
        endif()
    endif()
endfunction()
