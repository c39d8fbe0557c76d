# The convert window, its progress window and report, and the choices kept in LUMA.INI.
luma_test(test_convert_window ${CMAKE_CURRENT_LIST_DIR} luma_test_support luma_convert_window)
