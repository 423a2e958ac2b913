# Import throughput: our block reader against an fgets + strtod/atoi reader of the same files.
add_executable(import_bench ${CMAKE_CURRENT_LIST_DIR}/ImportBench.cpp)
target_link_libraries(import_bench PRIVATE import_core benchmark::benchmark)
