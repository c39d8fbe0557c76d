# Media-control devices: wave audio, sequencer, AVI video, MIDI parser, animation clips.
luma_test(test_platform_media ${dir} luma_platform_media)
target_link_libraries(test_platform_media PRIVATE Qt6::Test)
target_compile_definitions(test_platform_media PRIVATE LUMA_SOURCE_DATA="${PROJECT_SOURCE_DIR}/tests/data")
