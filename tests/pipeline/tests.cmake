quorvel_unit_tests(NAME pipeline_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/pipeline LIBS pipeline_core
                   SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/common/CountingNew.cpp)
