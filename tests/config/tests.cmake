# Unit tests of the INI engine and the settings; the WIN32 tree also runs the shared profile-store
# cases against the platform's private-profile functions.
if(WIN32)
  quorvel_unit_tests(NAME config_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/config LIBS config_win)
  target_compile_definitions(config_tests PRIVATE QUORVEL_TEST_WIN32_PROFILE=1)
else()
  quorvel_unit_tests(NAME config_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/config LIBS config_core)
endif()
target_compile_definitions(config_tests PRIVATE
  CONFIG_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/config")
