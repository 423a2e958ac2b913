quorvel_unit_tests(NAME intensity_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/intensity LIBS intensity_core)
target_compile_definitions(intensity_tests PRIVATE
  INTENSITY_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/intensity/data")
