# lumavista-thumbnailer: the desktop's thumbnailer for the twelve types, and the file that names it
# to file managers (share/thumbnailers/).
add_executable(lumavista-thumbnailer ${CMAKE_CURRENT_SOURCE_DIR}/thumbnailer/main.cpp)
target_link_libraries(lumavista-thumbnailer PRIVATE luma_thumbnails luma_platform Qt6::Gui)
# Only the libraries the thumbnails use are loaded: a file manager starts the program once a file.
target_link_options(lumavista-thumbnailer PRIVATE -Wl,--as-needed)
luma_warnings(lumavista-thumbnailer)
install(TARGETS lumavista-thumbnailer RUNTIME DESTINATION bin)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lumavista.thumbnailer DESTINATION share/thumbnailers)
