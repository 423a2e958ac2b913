add_test(NAME e2e.startup COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/startup_test.sh ${CMAKE_BINARY_DIR}/bin)
set_tests_properties(e2e.startup PROPERTIES LABELS "wine;e2e" TIMEOUT 300 RESOURCE_LOCK wine_desktop)

set(QUORVEL_NATIVE_BIN_DIR "${CMAKE_SOURCE_DIR}/build/native/bin" CACHE PATH "Native tree's bin folder (recsim)")
add_test(NAME e2e.acquisition
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/acquisition_test.sh ${CMAKE_BINARY_DIR}/bin ${QUORVEL_NATIVE_BIN_DIR})
set_tests_properties(e2e.acquisition PROPERTIES LABELS "wine;e2e" TIMEOUT 400 RESOURCE_LOCK wine_desktop
                     SKIP_RETURN_CODE 77)
add_test(NAME e2e.monitor
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/monitor_test.sh ${CMAKE_BINARY_DIR}/bin ${QUORVEL_NATIVE_BIN_DIR})
set_tests_properties(e2e.monitor PROPERTIES LABELS "wine;e2e" TIMEOUT 400 RESOURCE_LOCK wine_desktop
                     SKIP_RETURN_CODE 77)
add_test(NAME e2e.psd
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/psd_test.sh ${CMAKE_BINARY_DIR}/bin ${QUORVEL_NATIVE_BIN_DIR})
set_tests_properties(e2e.psd PROPERTIES LABELS "wine;e2e" TIMEOUT 400 RESOURCE_LOCK wine_desktop
                     SKIP_RETURN_CODE 77)

add_test(NAME e2e.recording
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/recording_test.sh ${CMAKE_BINARY_DIR}/bin ${QUORVEL_NATIVE_BIN_DIR})
set_tests_properties(e2e.recording PROPERTIES LABELS "wine;e2e" TIMEOUT 600 RESOURCE_LOCK wine_desktop
                     SKIP_RETURN_CODE 77)

add_test(NAME e2e.print
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/print_test.sh ${CMAKE_BINARY_DIR}/bin ${QUORVEL_NATIVE_BIN_DIR})
set_tests_properties(e2e.print PROPERTIES LABELS "wine;e2e" TIMEOUT 400 RESOURCE_LOCK wine_desktop
                     SKIP_RETURN_CODE 77)

add_test(NAME e2e.settings
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/settings_test.sh ${CMAKE_BINARY_DIR}/bin ${QUORVEL_NATIVE_BIN_DIR})
set_tests_properties(e2e.settings PROPERTIES LABELS "wine;e2e" TIMEOUT 600 RESOURCE_LOCK wine_desktop
                     SKIP_RETURN_CODE 77)

add_test(NAME e2e.history
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/history_test.sh ${CMAKE_BINARY_DIR}/bin ${QUORVEL_NATIVE_BIN_DIR})
set_tests_properties(e2e.history PROPERTIES LABELS "wine;e2e" TIMEOUT 400 RESOURCE_LOCK wine_desktop
                     SKIP_RETURN_CODE 77)

# The check the shipped i686 programs get where they can only run emulated (label "shipped": test.sh
# leaves it out of the x86_64 tree's run, which has the longer tests above).
add_test(NAME e2e.shipped
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/shipped_test.sh ${CMAKE_BINARY_DIR}/bin ${QUORVEL_NATIVE_BIN_DIR})
set_tests_properties(e2e.shipped PROPERTIES LABELS "wine;e2e;shipped" TIMEOUT 600 RESOURCE_LOCK wine_desktop
                     SKIP_RETURN_CODE 77)
