# The folder watch against real temporary folders and the event loop.
luma_test(test_platform_watch ${dir} luma_platform_watch)
target_link_libraries(test_platform_watch PRIVATE Qt6::Test)
