# Copy benchmark: the copy engine against cp on a 1 GiB file, run by bench/copy/run.sh.
add_executable(bench_copy ${CMAKE_CURRENT_LIST_DIR}/copy/bench_copy.cpp)
target_link_libraries(bench_copy PRIVATE luma_platform_files)
luma_warnings(bench_copy)
