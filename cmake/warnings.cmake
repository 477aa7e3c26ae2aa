# One list of warnings for every target of the project.
set(ORVIX_WARNINGS -Wall -Wextra -Wpedantic)
if(ORVIX_WERROR)
    list(APPEND ORVIX_WARNINGS -Werror)
endif()

# orvix_target(NAME): applies the project's warnings and include root to a target.
function(orvix_target name)
    target_compile_options(${name} PRIVATE ${ORVIX_WARNINGS})
endfunction()
