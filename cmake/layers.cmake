# The layers' one-way rule, checked when CMake configures: a target may include nothing from
# a layer above its own. Each source of the target and the header beside it (same stem) are
# read; CMake configures again whenever one of them changes.
#
#   bottom      numeric/ crystal/ platform/
#   actions     actions/
#   computation a feature's computation target (links the bottom only)
#   feature     a feature's actions target
#   commands    commands/
# Front ends (app/, cli/) may include anything.

set(ORVIX_ABOVE_BOTTOM "actions/|commands/|app/|cli/|tensor/|dipolar/|axes/|generate/")
set(ORVIX_ABOVE_ACTIONS "commands/|app/|cli/|tensor/|dipolar/|axes/|generate/")
set(ORVIX_ABOVE_COMPUTATION "actions/|commands/|app/|cli/|[a-z_/]+_actions?\\.h")
set(ORVIX_ABOVE_FEATURE "commands/|app/|cli/")
set(ORVIX_ABOVE_COMMANDS "app/|cli/")

# orvix_layer(TARGET LAYER): LAYER is one of bottom, actions, computation, feature, commands.
function(orvix_layer target layer)
    string(TOUPPER "ORVIX_ABOVE_${layer}" variable)
    set(above "${${variable}}")
    if(NOT above)
        message(FATAL_ERROR "orvix_layer: unknown layer '${layer}' for ${target}")
    endif()
    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} SOURCE_DIR)
    foreach(source IN LISTS sources)
        if(NOT source MATCHES "\\.cpp$")
            continue()
        endif()
        if(NOT IS_ABSOLUTE "${source}")
            set(source "${dir}/${source}")
        endif()
        string(REGEX REPLACE "\\.cpp$" ".h" header "${source}")
        foreach(file IN ITEMS "${source}" "${header}")
            if(NOT EXISTS "${file}")
                continue()
            endif()
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
            file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
            foreach(line IN LISTS includes)
                if(line MATCHES "#[ \t]*include[ \t]*[\"<](${above})" OR line MATCHES "#[ \t]*include[ \t]*<Q")
                    message(FATAL_ERROR
                        "${file}: the ${layer} layer (target ${target}) may not include a "
                        "header of a layer above it: ${line}")
                endif()
            endforeach()
        endforeach()
    endforeach()
endfunction()
