# Media-control devices: wave audio (WAV, MP3, Ogg, FLAC), sequencer, video (AVI, MP4, Matroska),
# MIDI parser, animation clips. The newer containers are made by the ffmpeg tool at test time.
luma_test(test_platform_media ${dir} luma_platform_media)
target_link_libraries(test_platform_media PRIVATE Qt6::Test)
target_compile_definitions(test_platform_media PRIVATE LUMA_SOURCE_DATA="${PROJECT_SOURCE_DIR}/tests/data")
