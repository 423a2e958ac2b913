# GoogleTest from Debian's source package, built by each tree with its own compiler.
if(NOT TARGET gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
include(GoogleTest)

# quorvel_unit_tests(NAME <binary> DIR <folder> LIBS <libs...> [SOURCES <shared test sources...>])
# Builds every *.cpp of the folder (plus the shared sources, e.g. from tests/common) into one test
# binary. Natively each test case is its own ctest
# entry; under Wine the whole binary is one entry (each Wine start costs about a second).
function(quorvel_unit_tests)
  cmake_parse_arguments(ARG "" "NAME;DIR" "LIBS;SOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  add_executable(${ARG_NAME} ${sources} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} gmock gtest_main)
  target_include_directories(${ARG_NAME} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME wine.${ARG_NAME} COMMAND ${ARG_NAME})
    set_tests_properties(wine.${ARG_NAME} PROPERTIES LABELS "wine;unit" TIMEOUT 600)
  else()
    gtest_discover_tests(${ARG_NAME} TEST_PREFIX "${ARG_NAME}." PROPERTIES LABELS "native;unit"
                         DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
