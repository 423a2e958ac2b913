# The trigger history's file access: folder listings and stamps, and files read as byte sources
# for the CSV importer.
if(WIN32)
  set(wavescan_folder ${CMAKE_CURRENT_LIST_DIR}/FolderWin32.cpp)
else()
  set(wavescan_folder ${CMAKE_CURRENT_LIST_DIR}/FolderPosix.cpp)
endif()
add_library(wavescan_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/StdioSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FolderPaths.cpp
  ${wavescan_folder})
target_include_directories(wavescan_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(wavescan_core PUBLIC import_core)
