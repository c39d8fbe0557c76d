# Thumbnail benchmarks: the large-icon style of a 2,000-file folder, cold and warm cache, run by
# bench/thumbnails/run.sh against gdk-pixbuf-thumbnailer and ffmpegthumbnailer.
add_executable(bench_thumbnails ${CMAKE_CURRENT_LIST_DIR}/thumbnails/bench_thumbnails.cpp)
target_link_libraries(bench_thumbnails PRIVATE luma_catalogue Qt6::Widgets)
luma_warnings(bench_thumbnails)
