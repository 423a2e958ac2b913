# Decoder and receive-loop throughput in records per second.
add_executable(device_bench ${CMAKE_CURRENT_LIST_DIR}/DecoderBench.cpp)
target_link_libraries(device_bench PRIVATE device_core benchmark::benchmark)
