# The printed report: page geometry and table texts everywhere; in the Win32 tree also the page as
# GDI composes it (recorded in an enhanced metafile and painted into a bitmap) and the PNG file.
if(WIN32)
  quorvel_unit_tests(NAME report_tests DIR ${CMAKE_CURRENT_LIST_DIR} LIBS report_win)
else()
  quorvel_unit_tests(NAME report_tests DIR ${CMAKE_CURRENT_LIST_DIR} LIBS report_core)
endif()
