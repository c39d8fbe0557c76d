# The picture tests write metafiles with libUEMF and JPEG files with libjpeg, so the component
# test program also sees those libraries' headers.
if(TARGET test_components)
  target_include_directories(test_components SYSTEM PRIVATE ${UEMF_INCLUDE_DIR})
  target_link_libraries(test_components PRIVATE ${UEMF_LIBRARY} PkgConfig::JPEG)
endif()
if(TARGET test_components)
  target_compile_definitions(test_components PRIVATE LUMA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()
if(TARGET lumavista-info)
  add_test(NAME info_pictures
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/info-pictures.sh $<TARGET_FILE:lumavista-info>
            ${PROJECT_SOURCE_DIR}/tests/data/pictures)
  set_tests_properties(info_pictures PROPERTIES TIMEOUT 120)
endif()
