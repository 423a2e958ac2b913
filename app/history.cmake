# Trigger history: events of the Trig.dt files with peaks and intensity, the index file, the worker.
add_library(history_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/TriggerHistory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HistoryIndex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HistoryWorker.cpp)
target_include_directories(history_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(history_core PUBLIC intensity_core wavescan_core)
find_package(Threads REQUIRED)
target_link_libraries(history_core PUBLIC Threads::Threads)

# Win32 shell: the history window, its system-menu item and the glue to the main window.
if(WIN32)
  target_sources(Quorvel PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TrigHistory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrigHistoryDlg.cpp
    ${CMAKE_SOURCE_DIR}/resources/TrigHistory.rc)
  target_link_libraries(Quorvel PRIVATE history_core comdlg32)
endif()
