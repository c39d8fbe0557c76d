# Thumbnails of each type from files made by other tools, and the thumbnailer run as a file manager runs it.
luma_test(test_thumbnails ${CMAKE_CURRENT_LIST_DIR} luma_thumbnails)
if(TARGET test_thumbnails)
  target_compile_definitions(test_thumbnails PRIVATE LUMA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  # The drawings are written with libUEMF's writers.
  target_include_directories(test_thumbnails SYSTEM PRIVATE ${UEMF_INCLUDE_DIR})
  target_link_libraries(test_thumbnails PRIVATE ${UEMF_LIBRARY})
endif()
if(TARGET lumavista-thumbnailer)
  add_test(NAME thumbnailer_command_line
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/command-line.sh $<TARGET_FILE:lumavista-thumbnailer>
            ${PROJECT_SOURCE_DIR}/tests/data)
  set_tests_properties(thumbnailer_command_line PROPERTIES TIMEOUT 120)
endif()
