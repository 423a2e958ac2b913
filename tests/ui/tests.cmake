# The placement rules in every tree; the dialog layer under Wine (Windows trees only), where a
# template of the version resources serves as the test dialog.
if(WIN32)
  quorvel_unit_tests(NAME ui_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/ui LIBS ui_win)
  target_sources(ui_tests PRIVATE ${CMAKE_SOURCE_DIR}/resources/Version.rc)
else()
  quorvel_unit_tests(NAME ui_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/ui LIBS ui_core)
endif()
