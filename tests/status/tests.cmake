# Unit tests of the status controls' rules; the WIN32 tree also paints the lamp and the numeric
# field into memory bitmaps and into real windows.
if(WIN32)
  quorvel_unit_tests(NAME status_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/status LIBS status_win)
else()
  quorvel_unit_tests(NAME status_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/status LIBS status_core)
endif()
