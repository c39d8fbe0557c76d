# List benchmarks: filling a folder list against `ls -l`, and 100,000 items in every view style;
# run by bench/lists/run.sh.
add_executable(bench_lists ${CMAKE_CURRENT_LIST_DIR}/lists/bench_lists.cpp)
target_link_libraries(bench_lists PRIVATE luma_catalogue Qt6::Widgets)
luma_warnings(bench_lists)
