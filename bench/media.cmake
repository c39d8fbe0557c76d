# Media players: CPU while playing and open-to-first-sound (scripts in bench/media/).
add_executable(bench_media_play ${CMAKE_CURRENT_SOURCE_DIR}/media/bench_media_play.cpp)
target_link_libraries(bench_media_play PRIVATE luma_components_media Qt6::Widgets)
luma_warnings(bench_media_play)
