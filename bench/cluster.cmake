# Cluster around an Atom: the whole-process comparison of CIF import and a cluster of radius
# 30 Angstrom with the same work in ASE. Run it with
# `cmake --build BUILD --target bench_cluster_vs_ase`.
add_custom_target(bench_cluster_vs_ase
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/cluster_vs_ase.sh $<TARGET_FILE:orvix-cli>
    DEPENDS orvix-cli
    USES_TERMINAL
    VERBATIM)
