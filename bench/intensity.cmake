# One five-minute trigger event: its intensity, and the whole read of its file.
add_executable(intensity_bench ${CMAKE_CURRENT_LIST_DIR}/IntensityBench.cpp)
target_link_libraries(intensity_bench PRIVATE history_core benchmark::benchmark)
