# Graph control and monitor rules; the Windows tree also paints graphs into memory bitmaps with GDI.
if(WIN32)
  quorvel_unit_tests(NAME graph_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/graphs LIBS graph_win)
else()
  quorvel_unit_tests(NAME graph_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/graphs LIBS graph_core)
endif()
