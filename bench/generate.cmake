# Position generation: the whole-process comparison of a large Generate Block with awk and
# cat. Run it with `cmake --build BUILD --target bench_generate_block`.
add_custom_target(bench_generate_block
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/generate_block.sh $<TARGET_FILE:orvix-cli>
    DEPENDS orvix-cli
    USES_TERMINAL
    VERBATIM)
