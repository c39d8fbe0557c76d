# lumavista-info: loads files through the program's own components and prints one JSON line each.
file(GLOB info_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/info/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/info/*.h)
add_executable(lumavista-info ${info_sources})
target_link_libraries(lumavista-info PRIVATE luma_components Qt6::Widgets)
luma_warnings(lumavista-info)
install(TARGETS lumavista-info RUNTIME DESTINATION bin)
