# Version information of Quorvel: the version resource, the About box and the version dialog.
if(WIN32)
  target_sources(Quorvel PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/AboutDlg.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/VersionDialog.cpp
    ${CMAKE_SOURCE_DIR}/resources/Version.rc)
  # GetFileVersionInfoA and VerQueryValueA live in version.dll.
  target_link_libraries(config_win PUBLIC version)
  target_link_libraries(Quorvel PRIVATE config_win ui_win shlwapi)
endif()
