# The sample pipeline, the acquisition rings and the window-free rules of measurement control.
add_library(pipeline_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/WaveBuffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SamplePipeline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MeasurementRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EventLog.cpp)
target_include_directories(pipeline_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(pipeline_core PUBLIC device_core config_core)
