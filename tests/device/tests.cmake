quorvel_unit_tests(NAME device_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/device LIBS device_core recsim_core)
