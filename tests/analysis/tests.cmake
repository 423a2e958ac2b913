quorvel_unit_tests(NAME analysis_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/analysis LIBS analysis_core
                   SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/common/CountingNew.cpp)
