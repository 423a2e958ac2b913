# Spectrum analysis of the PSD graphs over our own real transform.
add_library(analysis_core STATIC ${CMAKE_CURRENT_LIST_DIR}/Analysis.cpp)
target_include_directories(analysis_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(analysis_core PUBLIC fft_core)
