# The live miniSEED archive: cost per sample and the size of 24 hours against the CSV's.
add_executable(seed_bench ${CMAKE_CURRENT_LIST_DIR}/SeedBench.cpp)
target_link_libraries(seed_bench PRIVATE seed_core recsim_core benchmark::benchmark)
