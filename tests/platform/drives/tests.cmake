luma_test(test_platform_drives ${dir} luma_platform_drives)
