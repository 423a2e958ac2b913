# One million sample lines through our waveform writer and through fprintf.
add_executable(wavefile_bench ${CMAKE_CURRENT_LIST_DIR}/WaveFileBench.cpp)
target_link_libraries(wavefile_bench PRIVATE files_core benchmark::benchmark)
