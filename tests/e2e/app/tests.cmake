add_test(NAME e2e.startup COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/startup_test.sh ${CMAKE_BINARY_DIR}/bin)
set_tests_properties(e2e.startup PROPERTIES LABELS "wine;e2e" TIMEOUT 300 RESOURCE_LOCK wine_desktop)
