# Viewer pages in the real main window, offscreen: select-to-painted, the Next-file walk, sound and
# video start and play, successive loads (bench/viewers/run.sh makes the inputs and runs it).
add_executable(bench_viewers ${CMAKE_CURRENT_LIST_DIR}/viewers/bench_viewers.cpp)
target_link_libraries(bench_viewers PRIVATE luma_shell PkgConfig::FLUIDSYNTH PkgConfig::SDL2 Qt6::Widgets)
luma_warnings(bench_viewers)
