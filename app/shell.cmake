# Win32 shell of the main program: the application object, the main window and the panel.
if(WIN32)
  target_sources(Quorvel PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/QuorvelMain.cpp)
  target_include_directories(Quorvel PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(Quorvel PRIVATE comctl32 shlwapi)
endif()
