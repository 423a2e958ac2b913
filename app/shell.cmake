# Win32 shell of the main program: the application object, the main window and the panel.
if(WIN32)
  target_sources(Quorvel PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/AppLink.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/BtnDialog.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/ButtonPictures.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/Messages.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/QuorvelApp.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/QuorvelDlg.cpp
    ${CMAKE_SOURCE_DIR}/resources/Quorvel.rc
    ${CMAKE_SOURCE_DIR}/resources/SearchComPort.rc)
  target_include_directories(Quorvel PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(Quorvel PRIVATE app_core analysis_core pipeline_core recording_core files_win config_win device_win status_win ui_win
                        comctl32 shlwapi)
endif()
