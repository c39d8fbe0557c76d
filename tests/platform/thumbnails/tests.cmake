# The desktop's thumbnail cache against GLib's own names, in a temporary cache folder.
luma_test(test_platform_thumbnails ${dir} luma_platform_thumbnails)
