# Live drawing cost of the time graphs: one batch appended and its band painted, per display time.
add_executable(graph_bench ${CMAKE_CURRENT_LIST_DIR}/GraphBench.cpp)
target_include_directories(graph_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(graph_bench PRIVATE graph_core benchmark::benchmark)
