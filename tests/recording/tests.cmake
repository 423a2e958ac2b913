quorvel_unit_tests(NAME recording_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/recording LIBS recording_core)
