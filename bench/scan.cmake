# The scan benchmark (bench/scan/README.md): bench_scan runs the real scan command over a tree
# made by bench/scan/make_tree.py and compares it with find in the same run.
add_executable(bench_scan ${CMAKE_CURRENT_SOURCE_DIR}/scan/bench_scan.cpp)
target_link_libraries(bench_scan PRIVATE luma_shell Qt6::Widgets)
luma_warnings(bench_scan)
