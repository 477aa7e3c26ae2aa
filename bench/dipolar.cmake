# The dipolar second moment: the rotation pattern and the input reader in process. The
# whole-process comparison with a numpy script is dipolar_vs_numpy.sh.
add_executable(bench_dipolar ${CMAKE_CURRENT_LIST_DIR}/dipolar_bench.cpp)
target_link_libraries(bench_dipolar PRIVATE orvix_dipolar benchmark::benchmark)
orvix_target(bench_dipolar)
