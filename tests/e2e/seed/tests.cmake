add_test(NAME e2e.mseed
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/mseed_test.sh ${CMAKE_BINARY_DIR}/bin ${QUORVEL_NATIVE_BIN_DIR})
set_tests_properties(e2e.mseed PROPERTIES LABELS "wine;e2e" TIMEOUT 300 RESOURCE_LOCK wine_desktop SKIP_RETURN_CODE 77)
