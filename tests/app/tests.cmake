quorvel_unit_tests(NAME app_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/app LIBS app_core analysis_core config_core)
