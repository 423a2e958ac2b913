# Portable pieces of the application core: what the program shares (AppCore), the INI path, the
# measurement session, where a batch goes, what the panel's and the settings dialog's controls show
# and a file loaded into the rings for review.
add_library(app_core STATIC ${CMAKE_CURRENT_SOURCE_DIR}/IniPath.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/MeasurementSession.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/BatchRoutes.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SettingsEditor.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/WaveReview.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/AppCore.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/PanelControls.cpp)
target_include_directories(app_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(app_core PUBLIC recording_core pipeline_core analysis_core config_core device_core import_core)
