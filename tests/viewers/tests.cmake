# The viewer tests make their media at test time: sounds and tunes with the media writers of the
# device tests, metafiles with libUEMF and GIF files with giflib. (This file sits at the top of the
# folder, so the folder stays the one program test_viewers.)
if(TARGET test_viewers)
  target_sources(test_viewers PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../platform/media/MediaWriters.cpp
                                      ${CMAKE_CURRENT_LIST_DIR}/../platform/media/FfmpegTool.cpp)
  target_include_directories(test_viewers PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../platform/media)
  target_include_directories(test_viewers SYSTEM PRIVATE ${UEMF_INCLUDE_DIR} ${GIF_INCLUDE_DIR})
  target_link_libraries(test_viewers PRIVATE ${UEMF_LIBRARY} ${GIF_LIBRARY})
endif()
