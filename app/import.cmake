# Win32 shell of the imports: the panel's two handlers and the load into the rings.
if(WIN32)
  target_sources(Quorvel PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ImportControl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WaveImport.cpp)
endif()
