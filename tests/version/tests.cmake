# Unit tests of the version lookup and the title rule; the WIN32 tree also reads a real version
# resource (Version.rc is linked into the test program) and opens the version dialog.
if(WIN32)
  quorvel_unit_tests(NAME version_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/version LIBS config_win ui_win shlwapi)
  target_sources(version_tests PRIVATE
    ${CMAKE_SOURCE_DIR}/app/AboutDlg.cpp
    ${CMAKE_SOURCE_DIR}/app/VersionDialog.cpp
    ${CMAKE_SOURCE_DIR}/resources/Version.rc)
else()
  quorvel_unit_tests(NAME version_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/version LIBS config_core)
endif()
