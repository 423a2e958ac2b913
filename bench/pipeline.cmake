# Cost of one data notice through the sample pipeline, per batch size.
add_executable(pipeline_bench ${CMAKE_CURRENT_LIST_DIR}/PipelineBench.cpp)
target_link_libraries(pipeline_bench PRIVATE pipeline_core benchmark::benchmark)
