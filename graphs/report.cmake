# Printed report and saved pictures: the page's geometry and texts are portable; capture, printing
# and the PNG encoder are Win32 only.
add_library(report_core STATIC ${CMAKE_CURRENT_SOURCE_DIR}/ReportPage.cpp)
target_link_libraries(report_core PUBLIC config_core)

if(WIN32)
  add_library(report_win STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/PrintReport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/SavePicture.cpp)
  target_link_libraries(report_win PUBLIC report_core status_win ui_win comdlg32 shlwapi gdiplus gdi32 user32)
  target_link_libraries(Quorvel PRIVATE report_win)
endif()
