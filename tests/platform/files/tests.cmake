# The copy engine, the Trash and the default application, against real temporary folders.
luma_test(test_platform_files ${dir} luma_platform_files)
