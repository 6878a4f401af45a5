# The program's layers as targets (docs/architecture.md). Headers are included by area,
# "fileutil/FileUtil.h"; a target's public include folder in the build tree holds a link
# named after its area and nothing else, so that a target sees its own headers and those of
# the targets it links, and an include of a higher layer's header does not compile.
#
#   relaydesk_area_headers(<target> <area> [HEADERS <name>...])
#
# Without HEADERS the whole folder src/<area> is offered; with them only the headers named
# (a target that holds part of an area, such as the INI document of config).
function(relaydesk_area_headers target area)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "HEADERS")
    set(include_dir ${CMAKE_BINARY_DIR}/include/${target})
    set(area_dir ${CMAKE_SOURCE_DIR}/src/${area})
    if(arg_HEADERS)
        # Rebuilt on every configure, so that a header taken off the list is no longer seen.
        file(REMOVE_RECURSE ${include_dir})
        file(MAKE_DIRECTORY ${include_dir}/${area})
        foreach(header IN LISTS arg_HEADERS)
            file(CREATE_LINK ${area_dir}/${header} ${include_dir}/${area}/${header} SYMBOLIC)
        endforeach()
    else()
        file(MAKE_DIRECTORY ${include_dir})
        file(CREATE_LINK ${area_dir} ${include_dir}/${area} SYMBOLIC)
    endif()

    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${include_dir})
    elseif(type STREQUAL "EXECUTABLE")
        target_include_directories(${target} PRIVATE ${include_dir})
    else()
        target_include_directories(${target} PUBLIC ${include_dir})
    endif()
endfunction()
