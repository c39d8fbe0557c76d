# lumavista-convert: converts media files to today's formats through the program's own components.
file(GLOB convert_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/convert/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/convert/*.h)
add_executable(lumavista-convert ${convert_sources})
target_link_libraries(lumavista-convert PRIVATE luma_convert Qt6::Widgets)
luma_warnings(lumavista-convert)
install(TARGETS lumavista-convert RUNTIME DESTINATION bin)
