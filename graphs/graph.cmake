# The graph control and the two monitors. Transforms, scaling, sweeps, drawing and the monitors'
# texts, layout, menus and rows are portable; the windows, GDI and the dialogs are Win32 only.
add_library(graph_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/GraphCore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonitorLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonitorRows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MonitorText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PendingPaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ReviewWindow.cpp)
target_include_directories(graph_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(graph_core PUBLIC analysis_core pipeline_core config_core)

if(WIN32)
  add_library(graph_win STATIC ${CMAKE_CURRENT_LIST_DIR}/GdiGraphSurface.cpp)
  target_link_libraries(graph_win PUBLIC graph_core status_win gdi32)
  target_sources(Quorvel PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/GraphCtrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GraphMessages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GraphMoniDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorShell.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PsdMoniDialog.cpp)
  target_link_libraries(Quorvel PRIVATE graph_win status_win)
endif()
