# The search benchmark (bench/README.md): find as you type over a million media files in the real
# catalogue pane; run by bench/search/run.sh.
add_executable(bench_search ${CMAKE_CURRENT_LIST_DIR}/search/bench_search.cpp)
target_link_libraries(bench_search PRIVATE luma_catalogue Qt6::Widgets)
luma_warnings(bench_search)
