# Win32 shell of the imports: the load into the rings and the review that follows it.
if(WIN32)
  target_sources(Quorvel PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/WaveImport.cpp)
endif()
