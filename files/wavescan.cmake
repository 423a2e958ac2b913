# Reading waveform files back as segments, and the folder operations of the trigger history.
if(WIN32)
  set(wavescan_folder ${CMAKE_CURRENT_LIST_DIR}/FolderWin32.cpp)
else()
  set(wavescan_folder ${CMAKE_CURRENT_LIST_DIR}/FolderPosix.cpp)
endif()
add_library(wavescan_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/WaveSegments.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderPaths.cpp
  ${wavescan_folder})
target_include_directories(wavescan_core PUBLIC ${CMAKE_SOURCE_DIR})
