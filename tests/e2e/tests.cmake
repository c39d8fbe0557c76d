# The real program on a private X server and session bus, driven with keys and clicks and read the
# way a screen reader reads it (run_e2e.py). The system's Python: pyatspi is a Debian package.
if(TARGET lumavista)
  add_test(NAME e2e_desktop
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/run_e2e.py $<TARGET_FILE:lumavista>)
  # The run ends itself within 220 s (run_e2e.py), with its report; the margin is for the media.
  set_tests_properties(e2e_desktop PROPERTIES TIMEOUT 280 LABELS e2e)
endif()
