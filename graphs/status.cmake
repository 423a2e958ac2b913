# Status controls: the lamp and the numeric field. Their colour and layout rules are portable; the
# windows and the shared brushes are Win32 only.
add_library(status_core STATIC ${CMAKE_CURRENT_SOURCE_DIR}/StatusLook.cpp)
target_include_directories(status_core PUBLIC ${CMAKE_SOURCE_DIR})

if(WIN32)
  add_library(status_win STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/StatusBrushes.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/Indicator.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/NumCtrl.cpp)
  target_link_libraries(status_win PUBLIC status_core user32 gdi32)
  target_link_libraries(Quorvel PRIVATE status_win)
endif()
