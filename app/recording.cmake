# Manual and trigger recording over the waveform writer.
add_library(recording_core STATIC ${CMAKE_CURRENT_LIST_DIR}/RecordingControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecordingMessages.cpp)
target_include_directories(recording_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(recording_core PUBLIC pipeline_core files_core)
