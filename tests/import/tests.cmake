# Unit tests of the importers; the WIN32 tree also reads real files through the Win32 source and
# checks the time conversion against the platform's.
if(WIN32)
  quorvel_unit_tests(NAME import_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/import LIBS import_win files_core)
else()
  quorvel_unit_tests(NAME import_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/import LIBS import_core files_core)
endif()
