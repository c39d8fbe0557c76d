# The conversions: the library's tests, and the command-line tool run as a user runs it.
luma_test(test_convert ${CMAKE_CURRENT_LIST_DIR} luma_convert)
if(TARGET test_convert)
  target_compile_definitions(test_convert PRIVATE LUMA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_link_libraries(test_convert PRIVATE PkgConfig::WEBP)
endif()
if(TARGET lumavista-convert)
  add_test(NAME convert_command_line
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/command-line.sh $<TARGET_FILE:lumavista-convert>
            ${PROJECT_SOURCE_DIR}/tests/data/pictures)
  set_tests_properties(convert_command_line PROPERTIES TIMEOUT 120)
endif()
# The drawing tests write their metafiles with libUEMF's writers.
if(TARGET test_convert)
  target_include_directories(test_convert SYSTEM PRIVATE ${UEMF_INCLUDE_DIR})
  target_link_libraries(test_convert PRIVATE ${UEMF_LIBRARY})
endif()
