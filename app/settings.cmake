# The settings dialog: it works on the application object (its settings, analysis, link and
# measurement state), so it is one of the application's windows; its portable form rules are in config/.
if(WIN32)
  target_sources(Quorvel PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SettingDialog.cpp ${CMAKE_SOURCE_DIR}/resources/SettingDialog.rc)
  target_link_libraries(Quorvel PRIVATE ole32 shell32)
endif()
