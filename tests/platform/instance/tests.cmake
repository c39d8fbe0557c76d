# The single-instance rule: two instances in one test process, under names of their own.
luma_test(test_platform_instance ${dir} luma_platform)
target_link_libraries(test_platform_instance PRIVATE Qt6::Test)
