# Win32 shell of the trigger history (its core is history/): the history window, its system-menu
# item and the glue to the main window.
if(WIN32)
  target_sources(Quorvel PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TrigHistory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TrigHistoryDlg.cpp
    ${CMAKE_SOURCE_DIR}/resources/TrigHistory.rc)
  target_link_libraries(Quorvel PRIVATE history_core comdlg32)
endif()
