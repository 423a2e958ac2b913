quorvel_unit_tests(NAME history_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/history LIBS history_core)
