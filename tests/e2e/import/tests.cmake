# Imports end to end: file dialogs, titles, messages and the INI under Wine.
add_executable(holdfile ${CMAKE_CURRENT_LIST_DIR}/holdfile.cpp)
set(QUORVEL_NATIVE_BIN_DIR "${CMAKE_SOURCE_DIR}/build/native/bin" CACHE PATH "Native tree's bin folder (recsim)")
add_test(NAME e2e.import
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/import_test.sh ${CMAKE_BINARY_DIR}/bin ${QUORVEL_NATIVE_BIN_DIR})
set_tests_properties(e2e.import PROPERTIES LABELS "wine;e2e" TIMEOUT 400 RESOURCE_LOCK wine_desktop
                     SKIP_RETURN_CODE 77)
