quorvel_unit_tests(NAME fft_tests DIR ${CMAKE_CURRENT_SOURCE_DIR}/fft LIBS fft_core)
