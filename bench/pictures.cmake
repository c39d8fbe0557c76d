# Picture benchmarks: a decoding program timed against djpeg and ImageMagick by
# bench/pictures/run.sh, and a metafile writer that makes its test pictures.
add_executable(bench_pictures_decode ${CMAKE_CURRENT_LIST_DIR}/pictures/bench_decode.cpp)
target_link_libraries(bench_pictures_decode PRIVATE luma_components Qt6::Gui)
# Only the libraries the decoders use are loaded: start-up is part of what is timed.
target_link_options(bench_pictures_decode PRIVATE -Wl,--as-needed)
luma_warnings(bench_pictures_decode)

add_executable(bench_pictures_make_metafile ${CMAKE_CURRENT_LIST_DIR}/pictures/make_metafile.cpp)
target_include_directories(bench_pictures_make_metafile SYSTEM PRIVATE ${UEMF_INCLUDE_DIR})
target_link_libraries(bench_pictures_make_metafile PRIVATE ${UEMF_LIBRARY})
luma_warnings(bench_pictures_make_metafile)
