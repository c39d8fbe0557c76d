# The player components: TMediaPlayer and TAVIControl. The media writers are shared with the
# device tests.
luma_test(test_components_media ${dir} luma_components_media)
target_sources(test_components_media PRIVATE ${dir}/../../platform/media/MediaWriters.cpp
                                             ${dir}/../../platform/media/MediaTestSupport.cpp)
target_include_directories(test_components_media PRIVATE ${dir}/../../platform/media)
target_link_libraries(test_components_media PRIVATE Qt6::Test)

# lumavista-info reports sound and video through the same components.
if(TARGET lumavista-info)
  set(media_data ${PROJECT_SOURCE_DIR}/tests/data/media)
  add_test(NAME info_media COMMAND bash -c
    "out=$($<TARGET_FILE:lumavista-info> raw8_silent.avi mpeg4_sound.avi sine440_250ms_u8.wav c4_one_beat.mid) && \
     grep -q '\"animation_control\":true,\"file\":\"raw8_silent.avi\".*\"length_ms\":1000' <<< \"$out\" && \
     grep -q '\"animation_control\":false,\"file\":\"mpeg4_sound.avi\",\"length_ms\":1000' <<< \"$out\" && \
     grep -q '\"file\":\"sine440_250ms_u8.wav\",\"length_ms\":250' <<< \"$out\" && \
     grep -q '\"file\":\"c4_one_beat.mid\",\"length_ms\":500' <<< \"$out\""
    WORKING_DIRECTORY ${media_data})
  set_tests_properties(info_media PROPERTIES TIMEOUT 120
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy")
endif()
